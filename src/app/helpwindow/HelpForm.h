#pragma once

#include <QSize>
#include <QWidget>

class QTextBrowser;

namespace trevolo {

// "Как читать показатели": the program's own help, a window that blocks
// nothing, with the Russian text kept in the program's resources, so it needs
// no network. Esc and Ctrl+W close it (AddCloseKeys); the window that opens it
// adds its own opening key.
class HelpForm : public QWidget
{
    Q_OBJECT

public:
    explicit HelpForm(QWidget *parent);

    // Wide enough for a comfortable line, tall enough for a section or two;
    // a smaller screen gets what it has.
    static constexpr QSize PreferredSize{640, 680};
    static constexpr QSize SmallestSize{400, 300};

    // The text shown, from the resources.
    QTextBrowser *browser() const { return m_browser; }

    // Shows the part of the help under the anchor ("analysis"), or its
    // beginning for an empty or unknown anchor.
    void ShowPage(const QString &anchor);

    // Where the help lives in the resources.
    static QString Source();

private:
    QTextBrowser *m_browser;
};

} // namespace trevolo
