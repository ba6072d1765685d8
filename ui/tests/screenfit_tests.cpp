// A panel whose font asks for more room than the screen has: a virtual screen of the offscreen
// platform, smaller than the test panel at twice the design font (24 pixels, as a desktop at
// 192 dots per inch gives). This binary has its own main: the screen is chosen before the
// QApplication exists.
#include "ui/testing/testpanels.h"
#include "ui/uiruntime.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

// The test panel is 520 x 300 design pixels; the screen takes two thirds of that at twice the
// size in each direction, so both directions would overflow.
constexpr int kScreenWidth = 700;
constexpr int kScreenHeight = 420;

TEST(ScreenFit, APanelTooLargeForTheScreenShrinksWithItsFontAndKeepsItsProportions) {
    ui::testing::registerTestPanels();
    const int panel = LoadPanel(0, kTestPanelsResource, TESTPANEL);
    ASSERT_GT(panel, 0);
    DisplayPanel(panel);
    QApplication::processEvents();
    QWidget *window = panelWidget(panel);
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(room.size(), QSize(kScreenWidth, kScreenHeight));

    // The whole window, its frame included, fits: its size can be placed on the screen.
    EXPECT_LE(window->frameGeometry().width(), room.width());
    EXPECT_LE(window->frameGeometry().height(), room.height());
    const QWidget *canvas = window->findChild<QWidget *>(QStringLiteral("canvas"));
    ASSERT_NE(canvas, nullptr);
    EXPECT_NEAR(static_cast<double>(canvas->width()) / canvas->height(), 520.0 / 300.0, 0.01);

    // The texts shrank with the layout: every button's and label's text has its room.
    for (const QPushButton *button : window->findChildren<QPushButton *>()) {
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
    }
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->isVisible() && label->pixmap().isNull()) {
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        }
    }
    DiscardPanel(panel);
}

} // namespace

int main(int argc, char **argv) {
    const std::string config = std::filesystem::temp_directory_path() /
                               ("trz4-screenfit-" + std::to_string(getpid()) + ".json");
    std::ofstream(config) << "{\"screens\": [{\"name\": \"small\", \"width\": " << kScreenWidth
                          << ", \"height\": " << kScreenHeight << "}]}\n";
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str());
    QApplication application(argc, argv);
    QFont font = QApplication::font();
    font.setPixelSize(24);
    QApplication::setFont(font);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove(config);
    return result;
}
