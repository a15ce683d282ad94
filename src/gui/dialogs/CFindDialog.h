// The modeless text search dialog: search text with history, ignore-case, find-from-cursor
// and direction. It decides nothing about where to search: it asks its owner through
// SearchRequested (2 from the start, 3 the next match, 4 from the current selection) and
// offers Matches for the owner's texts.
#pragma once

#include <QDialog>
#include <optional>

class CSearchBox;
class QCheckBox;
class QPushButton;
class QRadioButton;

class CFindDialog : public QDialog {
    Q_OBJECT
public:
    enum Request { Created = 1, FindFromStart = 2, FindNext = 3, FindFromCursor = 4 };

    explicit CFindDialog(QWidget* owner = nullptr);

    // The position of the search text in text (upper-cased on both sides with ignore-case).
    std::optional<qsizetype> Matches(const QString& text) const;

    QString SearchText() const { return m_text; }
    bool IgnoreCase() const { return m_ignoreCase; }
    bool FromCursor() const { return m_fromCursor; }
    int Direction() const { return m_direction; } // 0 forward, 1 backward
    int LastRequest() const { return m_lastRequest; }

    CSearchBox* SearchBox() const { return m_box; }
    QCheckBox* IgnoreCaseBox() const { return m_ignoreBox; }
    QCheckBox* FromCursorBox() const { return m_cursorBox; }
    QPushButton* FindButton() const { return m_find; }
    QPushButton* FindNextButton() const { return m_findNext; }

signals:
    void SearchRequested(int request);

private:
    void ReadFields();
    void Request(int request);

    CSearchBox* m_box = nullptr;
    QCheckBox* m_ignoreBox = nullptr;
    QCheckBox* m_cursorBox = nullptr;
    QRadioButton* m_backward = nullptr;
    QPushButton* m_find = nullptr;
    QPushButton* m_findNext = nullptr;
    QString m_text;
    QString m_upperText;
    bool m_ignoreCase = false;
    bool m_fromCursor = false;
    int m_direction = 0;
    int m_lastRequest = Created;
};
