#include "platform/ui/FormControls.h"

#include "platform/ui/Twips.h"

#include <QLabel>
#include <QPushButton>

namespace brantock {

QLabel* FormControls::label(QWidget* parent, const QString& text, int left, int top, int width,
                            int height) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(Twips::rect(left, top, width, height));
    return l;
}

QPushButton* FormControls::button(QWidget* parent, const QString& text, int left, int top,
                                  int width, int height) {
    auto* b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    b->setGeometry(Twips::rect(left, top, width, height));
    return b;
}

} // namespace brantock
