// The About box: the application icon, "Quarrant Liquid Revision 0.10", a notice line, OK.
#pragma once

#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // "Quarrant Liquid Revision %02.2f" with the application revision.
    static QString RevisionText();
};
