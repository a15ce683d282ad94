// Printing from the configuration frame and from the command line: Print Preview pages through
// the listing; Print through the real print dialog writes a PDF of All or of the Selection;
// `quarrant-liquid --print-to FILE PRINTER` writes a PDF and reports an unknown printer; a
// print request handed to the running instance prints an open document and leaves it open,
// and opens, prints and closes one that was not open.
#include <gtest/gtest.h>

#include "ModalDriver.h"
#include "ScriptedUserInterface.h"
#include "app/CMainFrame.h"
#include "app/CSingleInstance.h"
#include "app/CquillTrakApp.h"
#include "views/CDirectoryTreeView.h"

#include "CquillTrakDoc.h"

#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <future>

namespace {

int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    if (!pdf.startsWith("%PDF"))
        return -1;
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "));
}

// A new configuration document saved to a file, as a print request finds it.
QString SaveNewDocument(const QTemporaryDir& dir, const QString& name)
{
    CquillTrakDoc doc;
    doc.OnNewDocument();
    const QString path = dir.filePath(name);
    QString error;
    EXPECT_TRUE(doc.SaveFile(path, &error)) << error.toStdString();
    return path;
}

class PrintCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_app.SetUiFactory([](CDocFrame&) { return std::make_unique<ScriptedUserInterface>(); });
    }

    CquillTrakApp m_app;
    QTemporaryDir m_dir;
};

TEST_F(PrintCommandsTest, PrintPreviewPagesThroughTheListing)
{
    CMainFrame* frame = m_app.NewConfiguration();
    int pages = 0;
    int pageAfterNext = 0;
    DriveNextModal<QPrintPreviewDialog>([&](QPrintPreviewDialog& dialog) {
        auto* preview = dialog.findChild<QPrintPreviewWidget*>();
        ASSERT_NE(preview, nullptr);
        pages = preview->pageCount();
        preview->setCurrentPage(2);
        pageAfterNext = preview->currentPage();
        dialog.reject();
    });
    ASSERT_TRUE(frame->Command(57609)->isEnabled());
    frame->Command(57609)->trigger();
    EXPECT_GT(pages, 1);
    EXPECT_EQ(pageAfterNext, 2);
}

TEST_F(PrintCommandsTest, PrintThroughThePrintDialogWritesAllOrTheSelection)
{
    struct Case {
        QAbstractPrintDialog::PrintRange range;
        bool onePage;
    };
    for (const Case& c : {Case{QAbstractPrintDialog::AllPages, false}, Case{QAbstractPrintDialog::Selection, true}}) {
        CMainFrame* frame = m_app.NewConfiguration(); // "Pulse Outputs" is selected
        const QString pdf = m_dir.filePath(QStringLiteral("listing-%1.pdf").arg(int(c.range)));
        QPrinter& printer = m_app.Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        DriveNextModal<QPrintDialog>([&c](QPrintDialog& dialog) {
            // The range as the user picks it: the dialog reads its own radio buttons on OK.
            auto* choice = dialog.findChild<QRadioButton*>(c.range == QAbstractPrintDialog::Selection
                                                               ? QStringLiteral("printSelection")
                                                               : QStringLiteral("printAll"));
            ASSERT_NE(choice, nullptr);
            ASSERT_TRUE(choice->isEnabled());
            choice->setChecked(true);
            dialog.accept();
        });
        frame->Command(57607)->trigger();
        const int pages = PdfPageCount(pdf);
        if (c.onePage)
            EXPECT_EQ(pages, 1) << pdf.toStdString();
        else
            EXPECT_GT(pages, 1) << pdf.toStdString();
        delete frame;
    }
}

TEST_F(PrintCommandsTest, PrintToFromTheCommandLineWritesAPdfOrReportsTheMissingPrinter)
{
    const QString file = SaveNewDocument(m_dir, QStringLiteral("site.qcf"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    // Settings of the child's own: port 1 leads nowhere, so opening the file fails to reach a
    // device at once instead of waiting on a real line.
    ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("config/Vandt Gauge"))));
    QFile settings(m_dir.filePath(QStringLiteral("config/Vandt Gauge/Quarrant Liquid.conf")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Comm]\nCOM1_Device=/nonexistent/quarrant-line\n");
    settings.close();
    // A user name of its own: no running instance of anyone else takes the request.
    env.insert(QStringLiteral("USER"), QStringLiteral("print-test-%1").arg(QCoreApplication::applicationPid()));

    struct Case {
        QString printer;
        int exitCode;
        QString pdf;        // expected output, relative to the working folder
        QString errorText;  // expected in stderr
    };
    const Case cases[] = {
        {QStringLiteral("out.pdf"), 0, QStringLiteral("out.pdf"), QString()},
        {QStringLiteral("pdf:sub-listing"), 0, QStringLiteral("sub-listing"), QString()},
        {QStringLiteral("No Such Printer"), 1, QString(), QStringLiteral("The printer \"No Such Printer\" was not found.")},
    };
    for (const Case& c : cases) {
        QProcess app;
        app.setProcessEnvironment(env);
        app.setWorkingDirectory(m_dir.path());
        app.start(QStringLiteral(QUARRANT_LIQUID_PATH), {QStringLiteral("--print-to"), file, c.printer});
        ASSERT_TRUE(app.waitForFinished(60000)) << c.printer.toStdString();
        const QString err = QString::fromLocal8Bit(app.readAllStandardError());
        EXPECT_EQ(app.exitCode(), c.exitCode) << c.printer.toStdString() << err.toStdString();
        if (!c.pdf.isEmpty()) {
            EXPECT_GE(PdfPageCount(m_dir.filePath(c.pdf)), 1) << c.pdf.toStdString();
        }
        if (!c.errorText.isEmpty()) {
            EXPECT_TRUE(err.contains(c.errorText)) << err.toStdString();
        }
    }
}

TEST_F(PrintCommandsTest, ARequestHandedToTheRunningInstanceLeavesOnlyWhatWasOpen)
{
    const QString name = QStringLiteral("print-handover-%1").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(m_app.BecomeRunningInstance(name));
    const QString open = SaveNewDocument(m_dir, QStringLiteral("open.qcf"));
    const QString closed = SaveNewDocument(m_dir, QStringLiteral("closed.qcf"));
    CMainFrame* frame = m_app.OpenDocumentFile(open);
    ASSERT_NE(frame, nullptr);

    for (const QString& file : {open, closed}) {
        const QString pdf = m_dir.filePath(QFileInfo(file).baseName() + QStringLiteral(".pdf"));
        QString error;
        // The request blocks for the answer, so it is made beside the instance's event loop.
        auto request = std::async(std::launch::async, [&] {
            return CSingleInstance::HandOverPrint(name, file, QStringLiteral("pdf:") + pdf, &error);
        });
        while (request.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_EQ(request.get(), CSingleInstance::PrintHandOver::Printed) << error.toStdString();
        EXPECT_GE(PdfPageCount(pdf), 1) << pdf.toStdString();
        EXPECT_EQ(m_app.CountOpenDocuments(), 1) << file.toStdString();
        EXPECT_EQ(m_app.Frames().value(0), frame);
    }
}

} // namespace
