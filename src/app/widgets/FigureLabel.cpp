#include "app/widgets/FigureLabel.h"

#include <QFontMetrics>
#include <QLabel>

namespace trevolo {

QLabel *NewFigureLabel(const QString &name, const QString &widest)
{
    auto *label = new QLabel(QStringLiteral("—"));
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setFocusPolicy(Qt::StrongFocus);
    if (!widest.isEmpty())
        label->setFixedSize(label->fontMetrics().horizontalAdvance(widest) + 4,
                            label->sizeHint().height());
    else
        label->setWordWrap(true);
    return label;
}

} // namespace trevolo
