#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace trevolo {

// F1 in a window opens the help at that window's page: the window keeps the
// anchor of its page in the help, and a window of its own gets an F1 key that
// hands the anchor to `open`. A tool window (the pad) gets no key of its own:
// its keys are its parent's, whose F1 asks HelpPage of the active window.
void AddHelpKey(QWidget &window, const QString &anchor,
                const std::function<void(const QString &anchor)> &open);

// The anchor AddHelpKey gave the window, or an empty string.
QString HelpPage(const QWidget *window);

} // namespace trevolo
