// The section tree; see CDirectoryTreeView.h.
#include "views/CDirectoryTreeView.h"

#include "views/TreeImages.h"

#include "CquillTrakDoc.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace {

struct TreeEntry {
    const char* text;
    int parent; // section of the parent item, -1 for a root item
    int section;
    int image;
};

// The items in the order they are appended.
constexpr TreeEntry kEntries[] = {
    {"Configuration", -1, 0, 0},       {"Pulse Outputs", 0, 1, 0},       {"Digital Inputs", 0, 2, 0},
    {"Digital Outputs", 0, 3, 0},      {"Analog Inputs", 0, 4, 0},       {"General Purpose", -1, 5, 1},
    {"Flow Control", -1, 6, 2},        {"Volume Accuracy", -1, 7, 3},    {"Temperature/Density", -1, 8, 4},
    {"Pressure", -1, 9, 5},            {"Alarms", -1, 10, 6},            {"Communications", -1, 11, 7},
    {"Additive Injectors", -1, 12, 8}, {"Recipe", -1, 13, 9},            {"Recipe 1", 13, 14, 9},
    {"Recipe 2", 13, 15, 9},           {"Recipe 3", 13, 16, 9},          {"Recipe 4", 13, 17, 9},
};

} // namespace

CDirectoryTreeView::CDirectoryTreeView(CquillTrakDoc& doc, QWidget* parent) : QTreeWidget(parent), m_doc(doc)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setMinimumWidth(60);
    connect(this, &QTreeWidget::currentItemChanged, this, [this] { OnSelectionChanged(); });
}

void CDirectoryTreeView::OnInitialUpdate()
{
    QFont f = font();
    f.setPointSize(9);
    setFont(f);
    OnUpdate();
}

void CDirectoryTreeView::OnUpdate()
{
    if (m_doc.currentSection == -1)
        Rebuild();
}

void CDirectoryTreeView::Rebuild()
{
    setUpdatesEnabled(false);
    m_rebuilding = true;
    clear();
    QTreeWidgetItem* bySection[std::size(kEntries)] = {};
    for (const TreeEntry& e : kEntries) {
        auto* item = e.parent < 0 ? new QTreeWidgetItem(this) : new QTreeWidgetItem(bySection[e.parent]);
        item->setText(0, QString::fromLatin1(e.text));
        item->setIcon(0, TreeImages::Image(e.image));
        item->setData(0, kSectionRole, e.section);
        bySection[e.section] = item;
    }
    m_rebuilding = false;
    QTreeWidgetItem* root = topLevelItem(0);
    scrollToItem(root);
    setEnabled(true);
    root->setExpanded(true);
    // The first visible item after "Configuration": this selection sets the section.
    setCurrentItem(itemBelow(root));
    setUpdatesEnabled(true);
}

void CDirectoryTreeView::OnSelectionChanged()
{
    if (m_rebuilding)
        return;
    QTreeWidgetItem* item = currentItem();
    if (!item)
        return;
    m_doc.currentSection = item->data(0, kSectionRole).toInt();
    if (m_sectionChanged)
        m_sectionChanged();
}

QTreeWidgetItem* CDirectoryTreeView::ItemOfSection(int section) const
{
    QTreeWidgetItemIterator it(const_cast<CDirectoryTreeView*>(this));
    for (; *it; ++it) {
        if ((*it)->data(0, kSectionRole).toInt() == section)
            return *it;
    }
    return nullptr;
}

void CDirectoryTreeView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab && m_paneSwitch) {
        m_paneSwitch();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

bool CDirectoryTreeView::focusNextPrevChild(bool next)
{
    // Tab is the pane switch here, not the widget chain.
    if (next && m_paneSwitch) {
        m_paneSwitch();
        return true;
    }
    return QTreeWidget::focusNextPrevChild(next);
}
