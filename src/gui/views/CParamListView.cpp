// The parameter list; see CParamListView.h.
#include "views/CParamListView.h"

#include "CquillTrakDoc.h"
#include "GeneralOptions.h"
#include "ParamListRows.h"
#include "ValueFormat.h"

#include <QHeaderView>
#include <QKeyEvent>

CParamListView::CParamListView(CquillTrakDoc& doc, const GeneralOptions& options, QWidget* parent)
    : QTreeWidget(parent), m_doc(doc), m_options(options)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    header()->setSectionsClickable(false);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { EditRow(item, false); });
}

void CParamListView::OnInitialUpdate()
{
    QFont f = font();
    f.setPointSize(10);
    setFont(f);
    clear();
    setColumnCount(3);
    setHeaderLabels({QStringLiteral("ID  Description"), QStringLiteral("Value"), QStringLiteral("Comments")});
    setColumnWidth(0, 180);
    setColumnWidth(1, 180);
    setColumnWidth(2, 100);
    m_doc.currentSection = 1;
    Fill();
}

void CParamListView::Fill()
{
    const QTreeWidgetItem* focused = currentItem();
    const int remembered = focused ? indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(focused)) : -1;

    setUpdatesEnabled(false);
    const bool showSecLvl = m_options.showSecLvl;
    const int columns = showSecLvl ? 4 : 3;
    if (columnCount() != columns) {
        setColumnCount(columns);
        if (showSecLvl) {
            headerItem()->setText(ParamListRows::kSecLvlColumn, QStringLiteral("Sec. Lvl"));
            headerItem()->setTextAlignment(ParamListRows::kSecLvlColumn, Qt::AlignLeft | Qt::AlignVCenter);
            setColumnWidth(ParamListRows::kSecLvlColumn, 120);
        }
    }
    clear();
    const std::vector<ParamListRow> rows = ParamListRows::Rows(m_doc, m_doc.currentSection, showSecLvl);
    for (const ParamListRow& row : rows) {
        auto* item = new QTreeWidgetItem(this);
        item->setText(0, row.name);
        item->setText(1, row.value);
        item->setText(2, row.comment);
        if (showSecLvl)
            item->setText(ParamListRows::kSecLvlColumn, row.level);
        item->setData(0, kParamRole, QVariant::fromValue(quintptr(row.param)));
    }
    const int focus = ParamListRows::FocusRow(m_doc.currentSection, remembered, int(rows.size()));
    if (focus >= 0) {
        QTreeWidgetItem* item = topLevelItem(focus);
        setCurrentItem(item);
        scrollToItem(item);
    }
    setUpdatesEnabled(true);
}

DBParam* CParamListView::ParamOf(const QTreeWidgetItem* item) const
{
    return item ? reinterpret_cast<DBParam*>(item->data(0, kParamRole).value<quintptr>()) : nullptr;
}

void CParamListView::EditRow(QTreeWidgetItem* item, bool byEnter)
{
    DBParam* p = ParamOf(item);
    if (!p || !m_editor || !m_editor(*p))
        return;
    p->programmed = 1;
    item->setText(1, ParamListRows::EditedValueText(m_doc, *p, byEnter));
    if (columnCount() > ParamListRows::kSecLvlColumn)
        item->setText(ParamListRows::kSecLvlColumn, RefreshedSecurityLevelText(m_doc.GetSecurityLevel(*p)));
    m_doc.SetModifiedFlag();
}

void CParamListView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EditRow(currentItem(), true);
        return;
    case Qt::Key_Tab:
        if (m_paneSwitch) {
            m_paneSwitch();
            return;
        }
        break;
    default:
        break;
    }
    QTreeWidget::keyPressEvent(event);
}

bool CParamListView::focusNextPrevChild(bool next)
{
    if (next && m_paneSwitch) {
        m_paneSwitch();
        return true;
    }
    return QTreeWidget::focusNextPrevChild(next);
}
