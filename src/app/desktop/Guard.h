#pragma once

#include "app/desktop/Environment.h"
#include "common/Error.h"

#include <QString>
#include <exception>
#include <utility>

class QWidget;

namespace trevolo {

// The standard error box: error icon, OK button, the application title as
// caption, the message with its closing full stop (see ErrorBoxText).
void ShowErrorBox(Environment &environment, QWidget *parent, const QString &message);

// Runs one event handler. An error escaping it ends the handler at the
// failing step and is shown in the standard error box; nothing escapes to the
// event loop.
template <typename F>
void RunGuarded(Environment &environment, QWidget *parent, F &&handler) noexcept
{
    try {
        std::forward<F>(handler)();
    } catch (const Error &error) {
        ShowErrorBox(environment, parent, error.message());
    } catch (const std::exception &error) {
        ShowErrorBox(environment, parent, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowErrorBox(environment, parent, QStringLiteral("Unknown error"));
    }
}

} // namespace trevolo
