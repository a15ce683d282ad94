// Drives the next modal dialog of a given class from inside its exec(): once such a dialog is
// the active modal widget, the action runs on it (it must end the dialog, e.g. accept()).
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

template <class Dialog>
void DriveNextModal(std::function<void(Dialog&)> action)
{
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            DriveNextModal<Dialog>(action);
            return;
        }
        action(*dialog);
    });
}
