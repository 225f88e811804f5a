#include "multiport/config/frmConfigUi.h"

#include "platform/ui/DesignFont.h"
#include "platform/ui/FormControls.h"
#include "platform/ui/Twips.h"

#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace brantock::multiport {

namespace {

constexpr int RowHeight = 480;

QLineEdit* box(QWidget* parent, const QString& text, int left, int top, int width) {
    auto* b = new QLineEdit(text, parent);
    b->setGeometry(Twips::rect(left, top, width, 315));
    return b;
}

// A label of the port rows, set against the box it names; the blanks before "COM" are part
// of the caption.
QLabel* rowLabel(QWidget* parent, const QString& text, int left, int top, int width) {
    QLabel* l = FormControls::label(parent, text, left, top + 60, width, 255);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return l;
}

} // namespace

void frmConfigUi::setupUi(QWidget* form) {
    form->setWindowTitle(QStringLiteral("Brantock Multi Port configuration"));
    form->setWindowIcon(QIcon(QStringLiteral(":/brantock/brantock.png")));
    // The program's one window, of a fixed size: a minimise and a close box, no maximise.
    form->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint);
    form->setFixedSize(Twips::toPixels(5880), Twips::toPixels(2340));

    const QString caption[2] = {QStringLiteral("First port    COM"),
                                QStringLiteral("Second port    COM")};
    const QString port[2] = {QStringLiteral("1"), QStringLiteral("2")};
    const QString tag[2] = {QStringLiteral("First door"), QStringLiteral("Second door")};
    QLineEdit* ports[2] = {};
    QLineEdit* tags[2] = {};
    for (int i = 0; i < 2; ++i) {
        const int top = 240 + i * RowHeight;
        Label1[i] = rowLabel(form, caption[i], 240, top, 1695);
        ports[i] = box(form, port[i], 1980, top, 615);
        Label2[i] = rowLabel(form, QStringLiteral("identifier"), 2760, top, 855);
        tags[i] = box(form, tag[i], 3660, top, 1980);
    }
    txtPort1 = ports[0];
    txtPort2 = ports[1];
    txtPort1Tag = tags[0];
    txtPort2Tag = tags[1];

    chkRunOnStartup = new QCheckBox(QStringLiteral("Run when Windows starts"), form);
    chkRunOnStartup->setChecked(false);
    chkRunOnStartup->setGeometry(Twips::rect(240, 1260, 3375, 255));
    cmdClose = FormControls::button(form, QStringLiteral("Close"), 4425, 1740, 1215, 375);

    QWidget::setTabOrder(txtPort1, txtPort1Tag);
    QWidget::setTabOrder(txtPort1Tag, txtPort2);
    QWidget::setTabOrder(txtPort2, txtPort2Tag);
    QWidget::setTabOrder(txtPort2Tag, chkRunOnStartup);
    QWidget::setTabOrder(chkRunOnStartup, cmdClose);
    DesignFont::fit(form, {Label1[0], Label1[1], Label2[0], Label2[1]});
}

} // namespace brantock::multiport
