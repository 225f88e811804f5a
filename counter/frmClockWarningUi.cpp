#include "counter/frmClockWarningUi.h"

#include "platform/ui/DesignFont.h"
#include "platform/ui/FormControls.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace brantock::counter {

void frmClockWarningUi::setupUi(QDialog* form) {
    form->setWindowTitle(QStringLiteral("Clock has changed"));
    form->setWindowIcon(QIcon(QStringLiteral(":/brantock/brantock.png")));
    form->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
    form->setFixedSize(Twips::toPixels(4740), Twips::toPixels(2115));

    Image1 = new QLabel(form);
    Image1->setGeometry(Twips::rect(180, 180, 480, 480));
    Image1->setPixmap(
        QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(Image1->size()));
    Label1 = FormControls::label(form, QStringLiteral("Your computer's clock has changed"), 840,
                                 180, 3720, 285);
    Label2 = FormControls::label(
        form,
        QStringLiteral("Brantock relies on your computer's clock to record accurate information! "
                       "Please make sure your clock is set to the correct time or you will have "
                       "incorrect times stored in your data."),
        840, 540, 3720, 960);
    cmdClose = FormControls::button(form, QStringLiteral("&Close"), 1763, 1620, 1215, 375);
    cmdClose->setDefault(true);
    DesignFont::fit(form, {Label2});
    // The heading's box holds one line: its text must fit across it, not wrap below it.
    DesignFont::fitText(Label1,
                        DesignFont::font(QLatin1String(DesignFont::WindowFamily), 9.75, true),
                        Label1->text());
    // A click on the labels or the picture is not a click on the window.
    for (QLabel* label : {Image1, Label1, Label2})
        label->setAttribute(Qt::WA_NoMousePropagation);
}

} // namespace brantock::counter
