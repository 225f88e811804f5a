#include "platform/ui/QtMessageBoxService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace brantock::platform;

namespace {

struct Seen {
    QStringList buttons;
    QString defaultButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title, text;
    bool onTop = false;
};

// Shows a real box (offscreen), notes what it shows and presses the button at pressIndex
// (or closes it with Escape when pressIndex is negative).
int showAndPress(int style, int pressIndex, Seen& seen) {
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        const QList<QAbstractButton*> buttons = box->buttons();
        QList<QAbstractButton*> ordered;
        for (QMessageBox::StandardButton b :
             {QMessageBox::Ok, QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore,
              QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            if (QAbstractButton* found = box->button(b))
                ordered << found;
        for (QAbstractButton* b : ordered)
            seen.buttons << b->text().remove(u'&');
        seen.defaultButton =
            box->defaultButton() ? box->defaultButton()->text().remove(u'&') : QString();
        if (pressIndex < 0)
            box->reject();
        else
            ordered.at(pressIndex)->click();
    });
    QtMessageBoxService service(true);
    return service.show({QStringLiteral("Text"), style, QStringLiteral("Title")});
}

} // namespace

TEST(QtMessageBoxService, StyleNumbersMapOntoTheBox) {
    struct Case {
        int style;
        QStringList buttons;
        int press;
        int answer;
        QString defaultButton;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {0, {"OK"}, 0, 1, "OK", QMessageBox::NoIcon},
        {1 + 16, {"OK", "Cancel"}, 1, 2, "OK", QMessageBox::Critical},
        {2 + 48, {"Abort", "Retry", "Ignore"}, 1, 4, "Abort", QMessageBox::Warning},
        {2 + 512, {"Abort", "Retry", "Ignore"}, 2, 5, "Ignore", QMessageBox::NoIcon},
        {3 + 64, {"Yes", "No", "Cancel"}, 0, 6, "Yes", QMessageBox::Information},
        {4 + 32 + 256, {"Yes", "No"}, 1, 7, "No", QMessageBox::Question},
        {5, {"Retry", "Cancel"}, 0, 4, "Retry", QMessageBox::NoIcon},
    };
    for (const Case& c : cases) {
        Seen seen;
        EXPECT_EQ(showAndPress(c.style, c.press, seen), c.answer) << c.style;
        EXPECT_EQ(seen.buttons, c.buttons) << c.style;
        EXPECT_EQ(seen.defaultButton, c.defaultButton) << c.style;
        EXPECT_EQ(seen.icon, c.icon) << c.style;
        EXPECT_EQ(seen.title, "Title");
        EXPECT_EQ(seen.text, "Text");
    }
}

TEST(QtMessageBoxService, SystemModalStaysOnTopAndClosingMeansCancel) {
    Seen seen;
    EXPECT_EQ(showAndPress(1 + 4096, -1, seen), 2);
    EXPECT_TRUE(seen.onTop);
    Seen plain;
    EXPECT_EQ(showAndPress(0, -1, plain), 1);
    EXPECT_FALSE(plain.onTop);
}

TEST(QtMessageBoxService, WithoutAScreenABoxIsAnsweredAsClosedAtOnce) {
    // Offscreen nobody can click: the run goes on instead of waiting for good.
    QtMessageBoxService service;
    EXPECT_EQ(service.show({QStringLiteral("Brantock is already running."), 4160, "Brantock"}),
              button::OK);
    EXPECT_EQ(service.show({QStringLiteral("Overwrite?"), 292, QString()}), button::No);
    EXPECT_EQ(service.show({QStringLiteral("Make it?"), 33, QString()}), button::Cancel);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
