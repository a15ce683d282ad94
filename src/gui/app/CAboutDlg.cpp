// The About box; see CAboutDlg.h.
#include "app/CAboutDlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About quarrant Liquid"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().isNull()
                        ? style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32)
                        : QApplication::windowIcon().pixmap(32, 32));
    auto* revision = new QLabel(RevisionText(), this);
    revision->setObjectName(QStringLiteral("revision"));
    auto* notice = new QLabel(QStringLiteral("Copyright (C) Vandt Gauge"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(revision);
    texts->addWidget(notice);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(texts);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

QString CAboutDlg::RevisionText()
{
    return QString::asprintf("Quarrant Liquid Revision %02.2f", 0.1);
}
