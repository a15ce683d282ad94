// List chooser (see CStringArrayDialog.h).
#include "CStringArrayDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

CStringArrayDialog::CStringArrayDialog(const QStringList& texts, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Select an Entry from the List"));
    m_list = new QListWidget(this);
    m_list->addItems(texts);
    m_list->setCurrentRow(-1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

void CStringArrayDialog::accept()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    m_chosen = selected.isEmpty() ? -1 : m_list->row(selected.front());
    QDialog::accept();
}
