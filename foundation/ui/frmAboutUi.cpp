#include "foundation/ui/frmAboutUi.h"

#include "platform/ui/DesignFont.h"
#include "platform/ui/FormControls.h"
#include "platform/ui/Twips.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace brantock {

namespace {

std::array<QFrame*, 2> etchedLine(QWidget* parent, int top) {
    std::array<QFrame*, 2> line{};
    for (int i = 0; i < 2; ++i) {
        auto* f = new QFrame(parent);
        f->setGeometry(Twips::rect(240, top + 15 * i, 4680, 15));
        f->setAutoFillBackground(true);
        f->setBackgroundRole(i == 0 ? QPalette::Mid : QPalette::Light);
        line[std::size_t(i)] = f;
    }
    return line;
}

// A label that reads as a link: it opens its address when clicked.
QLabel* link(QWidget* parent, const QString& text, int left, int top, int width) {
    QLabel* l = FormControls::label(parent, text, left, top, width, 255);
    l->setTextFormat(Qt::PlainText);
    l->setCursor(Qt::PointingHandCursor);
    QFont font = l->font();
    font.setUnderline(true);
    l->setFont(font);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    l->setPalette(palette);
    return l;
}

} // namespace

void frmAboutUi::setupUi(QDialog* form) {
    form->setWindowTitle(QStringLiteral("About Brantock"));
    form->setModal(false);
    form->setFixedSize(Twips::toPixels(5160), Twips::toPixels(3105));

    imgLogo = new QLabel(form);
    imgLogo->setGeometry(Twips::rect(240, 240, 960, 960));
    imgLogo->setPixmap(QPixmap(QStringLiteral(":/brantock/brantock.png"))
                           .scaled(imgLogo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    lblTitle = FormControls::label(form, QStringLiteral("Brantock"), 1440, 240, 3480, 480);
    DesignFont::fitText(lblTitle,
                        DesignFont::font(QLatin1String(DesignFont::WindowFamily), 18, true),
                        lblTitle->text());
    lblVersion = FormControls::label(form, QString(), 1440, 750, 3480, 255);
    lblhyperlink = link(form, QStringLiteral("www.halvern.example/brantock"), 1440, 1005, 3480);
    Line1 = etchedLine(form, 1380);
    lblHalvernFront = FormControls::label(form, QStringLiteral("Software designed and built by"),
                                          240, 1620, 2520, 255);
    lblHalvernURL = link(form, QStringLiteral("Halvern Limited"), 2760, 1620, 2160);
    Line2 = etchedLine(form, 2040);
    cmdOK = FormControls::button(form, QStringLiteral("OK"), 3705, 2445, 1215, 375);
    cmdOK->setDefault(true);
    DesignFont::fit(form, {lblVersion, lblhyperlink, lblHalvernFront, lblHalvernURL});
}

} // namespace brantock
