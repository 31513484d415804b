#include "shell/TForm1.h"

#include <QMdiArea>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace fat;

namespace {

struct MainWindow : ::testing::Test {
    TForm1 form;
    std::vector<std::string> opened;
    MainWindow() {
        form.AbrirFaturamento = [this] { opened.push_back("faturamento"); };
        form.AbrirReprocessamento = [this] { opened.push_back("reprocessamento"); };
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
};

} // namespace

TEST_F(MainWindow, LooksAsTheErpExpects) {
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Faturamento no Período"));
    EXPECT_EQ(form.btNota->text(), QString::fromUtf8("Consulta Faturamento"));
    EXPECT_EQ(form.btNota->geometry(), QRect(80, 8, 177, 25));
    EXPECT_EQ(form.mdiArea()->background().color(), QColor(0, 64, 128));
    EXPECT_FALSE(form.btNota->icon().pixmap(16, 16, QIcon::Normal).isNull());
    EXPECT_NE(form.btNota->icon().pixmap(16, 16, QIcon::Normal).toImage(),
              form.btNota->icon().pixmap(16, 16, QIcon::Disabled).toImage());
    EXPECT_EQ(form.ModoAbertura, "");
}

TEST_F(MainWindow, TheLastMousePressDecidesWhichWindowOpens) {
    struct Case {
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        const char* modo;
        const char* opens; // nullptr: the press does not activate the button
    };
    const Case cases[] = {
        {Qt::LeftButton, Qt::NoModifier, "N", "faturamento"},
        {Qt::LeftButton, Qt::ControlModifier, "I", "reprocessamento"},
        {Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, "I", "reprocessamento"},
        {Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier, "I", "reprocessamento"},
        {Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier, "N", "faturamento"},
        {Qt::RightButton, Qt::ControlModifier, "I", nullptr},
        {Qt::RightButton, Qt::NoModifier, "N", nullptr},
    };
    for (const auto& c : cases) {
        opened.clear();
        QTest::mouseClick(form.btNota, c.button, c.modifiers);
        EXPECT_EQ(form.ModoAbertura, c.modo);
        if (c.opens) EXPECT_EQ(opened, std::vector<std::string>{c.opens});
        else EXPECT_TRUE(opened.empty());
    }
}

TEST_F(MainWindow, KeyboardActivationRepeatsTheLastPressOrReprocessesBeforeAny) {
    form.btNota->setFocus();
    QTest::keyClick(form.btNota, Qt::Key_Space);
    QTest::keyClick(form.btNota, Qt::Key_Return);
    EXPECT_EQ(opened, (std::vector<std::string>{"reprocessamento", "reprocessamento"}));
    opened.clear();
    QTest::mouseClick(form.btNota, Qt::LeftButton);
    QTest::keyClick(form.btNota, Qt::Key_Space);
    EXPECT_EQ(opened, (std::vector<std::string>{"faturamento", "faturamento"}));
}
