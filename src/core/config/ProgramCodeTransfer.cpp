// Read and dump walks over the document's program codes (see ProgramCodeTransfer.h).
#include "ProgramCodeTransfer.h"

#include "CommStatusText.h"
#include "CquillTrakDoc.h"
#include "DeviceConnection.h"
#include "Section.h"
#include "UserInterface.h"
#include "ValueFormat.h"
#include "WaitCursor.h"

namespace {

constexpr int kValueOffset = 10;
constexpr uint8_t kHighestSecurityLevel = 3;

QString Name(const DBParam& p)
{
    return QString::fromLatin1(p.def->name);
}

// "dd nnn": the command directory and the program code number with three digits.
QString Address(const DBParam& p)
{
    return QStringLiteral("%1 %2").arg(CommandDirectory(p.section, p.instance)).arg(p.number, 3, 10, QLatin1Char('0'));
}

// "XV" and "XC" go out for program codes with a level, in the first two recipe instances and
// outside the recipes (instance 0).
bool CarriesSecurityLevel(const DBParam& p)
{
    return p.def->HasSecurityLevel() && p.instance <= 1;
}

} // namespace

ProgramCodeTransfer::ProgramCodeTransfer(DeviceConnection& connection)
    : m_connection(connection)
    , m_doc(connection.Document())
    , m_ui(connection.Ui())
{
}

ProgramCodeTransfer::Outcome ProgramCodeTransfer::ReadSelectedFolder()
{
    return Transfer(Kind::ReadSelected);
}

ProgramCodeTransfer::Outcome ProgramCodeTransfer::ReadAll()
{
    return Transfer(Kind::ReadAll);
}

ProgramCodeTransfer::Outcome ProgramCodeTransfer::DumpSelectedFolder()
{
    return Transfer(Kind::DumpSelected);
}

ProgramCodeTransfer::Outcome ProgramCodeTransfer::DumpAll()
{
    return Transfer(Kind::DumpAll);
}

ProgramCodeTransfer::Outcome ProgramCodeTransfer::Run(DocumentCommand command)
{
    switch (command) {
    case DocumentCommand::ReadSelectedFolder:
        return ReadSelectedFolder();
    case DocumentCommand::ReadAll:
        return ReadAll();
    case DocumentCommand::DumpSelectedFolder:
        return DumpSelectedFolder();
    case DocumentCommand::DumpAll:
        return DumpAll();
    default:
        return Outcome::NotEnabled;
    }
}

ProgramCodeTransfer::Range ProgramCodeTransfer::SelectedRange(const CquillTrakDoc& doc, int section)
{
    const SectionLists& lists = doc.Sections();
    Range range;
    if (section < 0 || section >= kSectionCount)
        return range;

    int from = section;
    int to = section; // last section included
    if (section == 0) {
        from = 1;
        to = 4;
    } else if (section == kFirstRecipeSection - 1) {
        from = kFirstRecipeSection;
        to = kSectionCount - 1;
    }
    for (int s = from; s <= to && !range.first; ++s)
        range.first = lists.First(s);
    if (!range.first)
        return range;
    for (int s = to + 1; s < kSectionCount && !range.end; ++s)
        range.end = lists.First(s);
    for (int s = from; s <= to; ++s) {
        if (const DBParam* first = lists.First(s))
            range.size += first->sectionSize;
    }
    return range;
}

ProgramCodeTransfer::Outcome ProgramCodeTransfer::Transfer(Kind kind)
{
    const bool read = kind == Kind::ReadSelected || kind == Kind::ReadAll;
    const bool selected = kind == Kind::ReadSelected || kind == Kind::DumpSelected;
    static constexpr DocumentCommand kCommands[] = {DocumentCommand::ReadSelectedFolder, DocumentCommand::ReadAll,
                                                    DocumentCommand::DumpSelectedFolder, DocumentCommand::DumpAll};
    if (!IsCommandEnabled(m_doc, kCommands[int(kind)]))
        return Outcome::NotEnabled;
    if (selected && (m_doc.currentSection < 0 || m_doc.currentSection >= kSectionCount)) {
        m_ui.MessageBox(QStringLiteral("No folder is selected. Select a folder in the directory tree first."));
        return Outcome::NoSelection;
    }

    QString title;
    if (kind == Kind::ReadSelected)
        title = QStringLiteral("Reading Corvantix.net Liquid ...");
    else if (kind == Kind::ReadAll)
        title = QStringLiteral("Reading Corvantix.net Liquid...");
    else
        title = QStringLiteral("Writing to Corvantix.net Liquid...");
    const QString message =
        (read ? QStringLiteral("Reading data to %1") : QStringLiteral("Writing data from %1")).arg(m_doc.title);

    m_ui.ProgressBegin(title, message, 0, m_doc.programCodeCount);
    if (m_connection.Connect(false) < CquillTrakDoc::ReadOnly) {
        m_ui.MessageBox(QStringLiteral("Corvantix.net Liquid not responding"));
        m_ui.ProgressEnd();
        return Outcome::NotResponding;
    }
    WaitCursor wait(m_ui);

    Range range{m_doc.Sections().Chain(), nullptr, m_doc.programCodeCount};
    if (selected) {
        range = SelectedRange(m_doc, m_doc.currentSection);
        m_ui.ProgressBegin(title, message, 0, range.size);
    }

    m_stored = false;
    Outcome outcome = Outcome::Completed;
    for (DBParam* p = range.first; p && p != range.end;) {
        const Step step = read ? ReadOne(kind, *p, outcome) : DumpOne(kind, *p, outcome);
        if (step == Step::Retry)
            continue;
        if (step == Step::Stop)
            break;
        p = p->next;
        m_ui.ProgressStep();
        m_ui.Pump();
        if (m_ui.ProgressCancelled()) {
            outcome = Outcome::Cancelled;
            break;
        }
    }

    if (outcome == Outcome::Completed) {
        m_doc.UpdateAllViews();
        if (read)
            m_doc.SetModifiedFlag(true);
        else
            m_connection.LogOff();
        m_ui.ProgressFinish(QStringLiteral("Transfer Complete!"), true);
    } else if (read && m_stored) {
        // Whatever was read is in the document now, however the walk ended.
        m_doc.UpdateAllViews();
        m_doc.SetModifiedFlag(true);
    } else if (outcome == Outcome::Aborted) {
        m_doc.UpdateAllViews();
    }
    m_ui.ProgressEnd();
    return outcome;
}

ProgramCodeTransfer::Step ProgramCodeTransfer::ReadOne(Kind kind, DBParam& p, Outcome& outcome)
{
    VandtProtocol* link = m_connection.Link();
    const QString command = QStringLiteral("PV ") + Address(p);
    if (!link || !link->Send(command.toLatin1())) {
        if (link)
            link->ShowErrorBox(m_ui, QStringLiteral("Error in transmission of %1").arg(Name(p)),
                               UserInterface::Buttons::OkCancel);
        outcome = Outcome::SendFailed;
        return Step::Stop;
    }

    QByteArray reply;
    QString valueText;
    const int status = link->Receive(reply);
    if (status == CommRejected) {
        const QString text = QStringLiteral("Unable to read %1").arg(Name(p));
        if (kind == Kind::ReadSelected)
            m_ui.MessageBox(text);
        else
            link->ShowErrorBox(m_ui, text, UserInterface::Buttons::OkCancel);
    } else if (status != CommOk) {
        switch (m_ui.MessageBox(CommStatusText(status), QString(), UserInterface::Buttons::AbortRetryIgnore,
                                UserInterface::Icon::Warning)) {
        case UserInterface::Retry:
            return Step::Retry;
        case UserInterface::Ignore:
            break;
        default:
            outcome = Outcome::Aborted;
            return Step::Stop;
        }
    } else {
        valueText = QString::fromLatin1(reply.mid(kValueOffset));
    }

    StoreValue(m_doc.Image(), p, valueText);
    p.programmed = 1;
    m_stored = true;

    if (!CarriesSecurityLevel(p))
        return Step::Next;
    QByteArray levelCommand = command.toLatin1();
    levelCommand[0] = 'X';
    if (!link->Send(levelCommand)) {
        link->ShowErrorBox(m_ui, QStringLiteral("Error in transmission of %1").arg(Name(p)),
                           UserInterface::Buttons::OkCancel);
        outcome = Outcome::SendFailed;
        return Step::Stop;
    }
    QByteArray levelReply;
    const int levelStatus = link->Receive(levelReply);
    if (levelStatus == CommOk) {
        const int level = levelReply.size() > kValueOffset ? levelReply[kValueOffset] - '0' : -1;
        if (level >= 0 && level <= kHighestSecurityLevel)
            m_doc.SetSecurityLevel(p, uint8_t(level));
    } else if (levelStatus != CommRejected) {
        // A rejected or ignored "XV" leaves the level as it was: there is no new reply to take
        // it from.
        switch (link->ShowErrorBox(m_ui, QString(), UserInterface::Buttons::AbortRetryIgnore,
                                   UserInterface::Icon::Warning)) {
        case UserInterface::Retry:
            return Step::Retry;
        case UserInterface::Ignore:
            break;
        default:
            outcome = Outcome::Aborted;
            return Step::Stop;
        }
    }
    return Step::Next;
}

ProgramCodeTransfer::Step ProgramCodeTransfer::DumpOne(Kind kind, DBParam& p, Outcome& outcome)
{
    if (!p.programmed || (kind == Kind::DumpSelected && p.IsReadOnly()))
        return Step::Next;

    VandtProtocol* link = m_connection.Link();
    const QString command = QStringLiteral("PC %1 %2").arg(Address(p), FormatValue(p, m_doc.Image()));
    if (!link || !link->Send(command.toLatin1())) {
        m_ui.MessageBox(QStringLiteral("Error in transmission of %1").arg(Name(p)));
        outcome = Outcome::SendFailed;
        return Step::Stop;
    }

    QByteArray reply;
    const int status = link->Receive(reply);
    bool levelStep = status == CommOk || kind == Kind::DumpSelected;
    if (status == CommRejected) {
        const QString text = QStringLiteral("Unable to write %1").arg(Name(p));
        if (kind == Kind::DumpSelected)
            link->ShowErrorBox(m_ui, text, UserInterface::Buttons::OkCancel);
        else
            m_ui.MessageBox(text);
    } else if (status != CommOk) {
        switch (m_ui.MessageBox(CommStatusText(status), QString(), UserInterface::Buttons::AbortRetryIgnore,
                                UserInterface::Icon::Warning)) {
        case UserInterface::Retry:
            return Step::Retry;
        case UserInterface::Ignore:
            break;
        default:
            outcome = Outcome::Aborted;
            return Step::Stop;
        }
    }
    if (levelStep)
        DumpSecurityLevel(p);
    return Step::Next;
}

void ProgramCodeTransfer::DumpSecurityLevel(const DBParam& p)
{
    const int level = m_doc.GetSecurityLevel(p);
    if (!CarriesSecurityLevel(p) || level == 0)
        return;
    VandtProtocol* link = m_connection.Link();
    const QString command = QStringLiteral("XC %1 %2").arg(Address(p)).arg(level);
    QByteArray reply;
    // A command that did not go out has no reply to wait for; it fails the same way.
    if (link->Send(command.toLatin1()) && link->Receive(reply) == CommOk)
        return;
    m_ui.MessageBox(QString::asprintf("Unable to set security level %d for %s %s\n", level,
                                      Section(p.section)->title, p.def->name));
}
