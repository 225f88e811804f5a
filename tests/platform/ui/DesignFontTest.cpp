#include "platform/ui/DesignFont.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

using namespace brantock;

namespace {

bool standInInstalled() {
    return QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")) ||
           QFontDatabase::hasFamily(QStringLiteral("Arimo"));
}

} // namespace

TEST(DesignFont, AMissingDesignFamilyIsDrawnInAFontOfArialsWidths) {
    if (!standInInstalled())
        GTEST_SKIP() << "no font made to Arial's metrics is installed";
    for (const char* design : {"Arial", "MS Sans Serif", "Tahoma"}) {
        const QFont font = DesignFont::font(QLatin1String(design), 9.75, true);
        const QString drawn = QFontInfo(font).family();
        EXPECT_TRUE(drawn == QLatin1String(design) || drawn == "Liberation Sans" ||
                    drawn == "Arimo")
            << design << " is drawn in " << drawn.toStdString();
        EXPECT_TRUE(font.bold());
        EXPECT_EQ(font.pointSizeF(), 9.75);
    }
}

TEST(DesignFont, AOneLineTextTakesTheLargestSizeThatFitsItsBox) {
    QWidget window;
    auto* heading = new QLabel(QStringLiteral("Your computer's clock has changed"), &window);
    const QFont design = DesignFont::font(QStringLiteral("MS Sans Serif"), 20, true);
    // Wide enough at the design size: kept.
    heading->resize(QFontMetrics(design).horizontalAdvance(heading->text()) + 2,
                    QFontMetrics(design).height());
    DesignFont::fitText(heading, design, heading->text());
    EXPECT_EQ(heading->font().pointSizeF(), 20);
    // Half as wide: smaller, and then it fits across the box.
    heading->resize(heading->width() / 2, heading->height());
    DesignFont::fitText(heading, design, heading->text());
    EXPECT_LT(heading->font().pointSizeF(), 20);
    EXPECT_TRUE(heading->font().bold());
    EXPECT_LE(QFontMetrics(heading->font()).horizontalAdvance(heading->text()), heading->width());
}

TEST(DesignFont, AWindowTakesTheLargestSizeAtWhichItsLabelsAndCaptionsFit) {
    QWidget window;
    auto* label = new QLabel(QStringLiteral("To choose an existing data file, please type the "
                                            "full path to the file here."),
                             &window);
    label->setWordWrap(true);
    label->setGeometry(0, 0, 150, 30);
    auto* box = new QCheckBox(QStringLiteral("Store results in database"), &window);
    box->setGeometry(0, 40, 135, 17);
    DesignFont::fit(&window, {label}, {box});
    EXPECT_LE(label->heightForWidth(label->width()), label->height());
    EXPECT_LE(box->sizeHint().width(), box->width());
    EXPECT_LT(window.font().pointSizeF(), DesignFont::WindowPoints);
}
