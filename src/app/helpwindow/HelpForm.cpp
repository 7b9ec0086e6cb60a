#include "app/helpwindow/HelpForm.h"

#include "app/widgets/CloseKeys.h"

#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace trevolo {

QString HelpForm::Source()
{
    return QStringLiteral("qrc:/app/help/help.html");
}

void HelpForm::ShowPage(const QString &anchor)
{
    m_browser->verticalScrollBar()->setValue(0);
    // Once the window just shown has laid the text out at its width.
    if (!anchor.isEmpty())
        QMetaObject::invokeMethod(
            m_browser, [browser = m_browser, anchor] { browser->scrollToAnchor(anchor); },
            Qt::QueuedConnection);
}

HelpForm::HelpForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Как читать показатели"));

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpText"));
    m_browser->setAccessibleName(QStringLiteral("Как читать показатели"));
    // Everything it links to is in the text itself.
    m_browser->setOpenExternalLinks(false);
    m_browser->setSource(QUrl(Source()));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    // The keys that scroll and the Tab that walks the links act at once.
    setFocusProxy(m_browser);

    AddCloseKeys(*this, {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
}

} // namespace trevolo
