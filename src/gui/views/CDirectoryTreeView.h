// The left pane of a configuration frame: the tree of the document's 18 sections. Selecting
// an item makes its section the document's current section and refills the parameter list.
// The tree is rebuilt only while the document has no current section (-1: a new or freshly
// loaded document), so File New and File Open end with "Pulse Outputs" selected and the tree
// expanded under "Configuration"; any other update leaves the tree as the user left it.
#pragma once

#include <QTreeWidget>
#include <functional>

class CquillTrakDoc;

class CDirectoryTreeView : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kSectionRole = Qt::UserRole;

    CDirectoryTreeView(CquillTrakDoc& doc, QWidget* parent = nullptr);

    // Sets the font and images, then updates.
    void OnInitialUpdate();
    // Rebuilds the tree when the document's current section is -1.
    void OnUpdate();

    // Called after a selection changed the current section (the list then refills).
    void SetSectionChangedHandler(std::function<void()> handler) { m_sectionChanged = std::move(handler); }
    // Called for the Tab key: the focus moves to the frame's next pane.
    void SetPaneSwitchHandler(std::function<void()> handler) { m_paneSwitch = std::move(handler); }

    // The item of a section, nullptr when there is none.
    QTreeWidgetItem* ItemOfSection(int section) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void Rebuild();
    void OnSelectionChanged();

    CquillTrakDoc& m_doc;
    std::function<void()> m_sectionChanged;
    std::function<void()> m_paneSwitch;
    bool m_rebuilding = false;
};
