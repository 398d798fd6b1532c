#include "platform/Controls.h"

#include "platform/Twips.h"

#include <QLabel>
#include <QPushButton>

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                  int width, int height)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeTwips(label, left, top, width, height);
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tip, int left, int top, int width, int height)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setAccessibleDescription(tip);
    placeTwips(button, left, top, width, height);
    return button;
}
