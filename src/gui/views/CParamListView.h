// The right pane of a configuration frame: the program codes of the document's current
// section, one row per DBParam, with name, value, comment and (when the "ParamView" option
// "ShowSecLvl" is on) security level. Every update refills the list from the document; the
// list keeps no state of its own beyond its rows. Enter or a double click on a row edits its
// DBParam through the frame's parameter editor and, when accepted, rewrites that row.
#pragma once

#include <QTreeWidget>
#include <functional>

class CquillTrakDoc;
struct DBParam;
struct GeneralOptions;

class CParamListView : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kParamRole = Qt::UserRole;

    // The edit of one program code: true when an edit was accepted and stored in the
    // document (the dialog, the device exchange and the store are the editor's).
    using ParamEditor = std::function<bool(DBParam&)>;

    CParamListView(CquillTrakDoc& doc, const GeneralOptions& options, QWidget* parent = nullptr);

    // Columns 0 to 2, current section 1, fill.
    void OnInitialUpdate();
    // Fills the list from the document's current section.
    void OnUpdate() { Fill(); }

    void SetParamEditor(ParamEditor editor) { m_editor = std::move(editor); }
    // Called for the Tab key: the focus moves to the frame's previous pane.
    void SetPaneSwitchHandler(std::function<void()> handler) { m_paneSwitch = std::move(handler); }

    // Edits the DBParam of a row; byEnter chooses how an option value is rewritten.
    void EditRow(QTreeWidgetItem* item, bool byEnter);
    DBParam* ParamOf(const QTreeWidgetItem* item) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void Fill();

    CquillTrakDoc& m_doc;
    const GeneralOptions& m_options;
    ParamEditor m_editor;
    std::function<void()> m_paneSwitch;
};
