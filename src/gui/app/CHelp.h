// Help: the user manual (docs/manual.html) opened in the browser at a topic. A widget carries
// its help context id in the property "helpContext"; F1 takes the topic from the widget with
// the keyboard focus up through its parents (none found: topic 100), Shift+F1 enters the help
// mode in which the next click names the widget, Help Topics opens the manual's contents.
// Installed as an application event filter, it also answers F1 inside dialogs, where the
// frames' shortcuts do not reach.
//
// Invariants: every topic id leads to the manual; an id without its own anchor opens the
// manual at the top. URLs go through CUrlOpener.
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QWidget;

class CHelp : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTopic = 100;

    explicit CHelp(QObject* parent = nullptr) : QObject(parent) {}

    // The help context id of the widget or its nearest parent that has one, else 100.
    static int TopicOf(const QWidget* widget);
    // The manual: installed beside the executable (../share/doc/quarrant-liquid), else the
    // source tree's docs folder; empty when neither exists.
    static QString ManualPath();
    // The manual's address at a topic ("#topic-<id>"); topic 0 gives the contents.
    static QUrl TopicUrl(int topic);

    // Open the manual; false when it is missing or nothing could open it (the user was told).
    static bool ShowTopic(int topic);
    static bool ShowContents() { return ShowTopic(0); }
    // F1: the topic of the focused widget (or of the active window when nothing has focus).
    static bool ShowContextHelp();
    // Shift+F1: the next click on a widget opens its topic.
    void EnterHelpMode();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_helpMode = false;
};
