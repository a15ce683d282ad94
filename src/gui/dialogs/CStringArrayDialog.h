// Lets the user pick one of several texts, shown in order. OK hands back the selected index,
// -1 when nothing is selected.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

class CStringArrayDialog : public QDialog {
    Q_OBJECT
public:
    explicit CStringArrayDialog(const QStringList& texts, QWidget* parent = nullptr);
    int ChosenIndex() const { return m_chosen; }
    QListWidget* List() const { return m_list; }

    void accept() override;

private:
    QListWidget* m_list = nullptr;
    int m_chosen = -1;
};
