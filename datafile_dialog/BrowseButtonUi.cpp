#include "datafile_dialog/BrowseButtonUi.h"

#include "platform/ui/Twips.h"

#include <QLineEdit>
#include <QPushButton>

namespace brantock {

void BrowseButtonUi::setupUi(QWidget* control) {
    txtPath = new QLineEdit(control);
    txtPath->setGeometry(0, 0, Twips::toPixels(975), Twips::toPixels(315));
    cmdBrowse = new QPushButton(control);
    cmdBrowse->setText(QStringLiteral("Browse"));
    cmdBrowse->resize(Twips::toPixels(975), Twips::toPixels(315));
    cmdBrowse->setAutoDefault(false);
}

} // namespace brantock
