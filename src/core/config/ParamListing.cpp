// Parameter listing layout (see ParamListing.h).
#include "ParamListing.h"

#include "CquillTrakDoc.h"
#include "Section.h"
#include "ValueFormat.h"

#include <QLocale>
#include <QSettings>

namespace {

QString Column(const QString& text, int width)
{
    return text.left(width).leftJustified(width, QLatin1Char(' '));
}

class Writer {
public:
    Writer(const CquillTrakDoc& doc, const ParamListing::Options& options)
        : m_doc(doc)
        , m_options(options)
        , m_lines(qMax(options.linesPerPage, 10))
    {
        m_pages.emplace_back();
    }

    void Draw(const QString& text) { m_pages.back().push_back({m_y, text}); }
    void NewPage()
    {
        m_pages.emplace_back();
        m_y = 3;
    }

    void Section(int section)
    {
        Draw(QStringLiteral("%1 Directory").arg(QString::fromLatin1(::Section(section)->title)));
        m_y += 2;
        for (const DBParam* p : m_doc.Sections().SectionParams(section)) {
            const int level = m_doc.GetSecurityLevel(*p);
            if (m_options.suppressBelowLevel != 0 && level <= m_options.suppressBelowLevel)
                continue;
            Draw(ParamListing::ProgramCodeLine(m_doc, *p, m_options.showSecurityLevel));
            m_y += 1;
            if (m_y > m_lines - 3)
                NewPage();
        }
    }

    std::vector<ParamListing::Page> Run()
    {
        m_y = 3;
        Draw(ParamListing::TitleLine(m_options));
        m_y = 6;
        std::vector<int> sections;
        const int current = m_doc.currentSection;
        if (m_options.selectionOnly && current == 0) {
            sections = {1, 2, 3, 4};
        } else if (m_options.selectionOnly && current == 13) {
            sections = {14, 15, 16, 17};
        } else if (m_options.selectionOnly) {
            if (::Section(current))
                Section(current);
            return m_pages;
        } else {
            for (int s = 1; s <= 12; ++s)
                sections.push_back(s);
            for (int s = 14; s <= 17; ++s)
                sections.push_back(s);
        }
        for (int s : sections) {
            if (m_y > m_lines - 7)
                NewPage();
            Section(s);
            m_y += 3;
        }
        return m_pages;
    }

private:
    const CquillTrakDoc& m_doc;
    const ParamListing::Options& m_options;
    int m_lines;
    int m_y = 0;
    std::vector<ParamListing::Page> m_pages;
};

} // namespace

ParamListing::Options ParamListing::OptionsFromSettings(const QString& documentName, int linesPerPage, bool selectionOnly)
{
    QSettings settings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"));
    Options options;
    options.linesPerPage = linesPerPage;
    options.selectionOnly = selectionOnly;
    options.suppressBelowLevel = settings.value(QStringLiteral("ParamPrint/SuppressBelowLvl"), 0).toInt();
    options.showSecurityLevel = settings.value(QStringLiteral("ParamPrint/ShowSecLvl"), 0).toInt() == 1;
    options.documentName = documentName;
    options.printedAt = QDateTime::currentDateTime();
    return options;
}

std::vector<ParamListing::Page> ParamListing::Layout(const CquillTrakDoc& doc, const Options& options)
{
    // The document's current section is only read: nothing needs restoring afterwards.
    return Writer(doc, options).Run();
}

QString ParamListing::TitleLine(const Options& options)
{
    const QString time = QLocale::c().toString(options.printedAt, QStringLiteral("MMMM dd, yyyy HH:mm"));
    return QStringLiteral("%1 - Printed %2 ").arg(options.documentName, time);
}

QString ParamListing::ProgramCodeLine(const CquillTrakDoc& doc, const DBParam& p, bool showSecurityLevel)
{
    QString value = QStringLiteral(" ");
    if (p.programmed) {
        if (p.def->HasOptions()) {
            const auto bytes = doc.LocateValue(p);
            value = EditedOptionText(*p.def, bytes.empty() ? 0 : bytes[0]);
        } else {
            value = FormatValue(p, doc.Image());
        }
    }
    QString line = Column(QString::fromLatin1(p.def->name), 40) + QLatin1Char(' ') + Column(value, 32);
    if (showSecurityLevel) {
        const int level = doc.GetSecurityLevel(p);
        line += level == 0 ? QStringLiteral("    N/A") : QStringLiteral("    %1").arg(level);
    }
    return line;
}
