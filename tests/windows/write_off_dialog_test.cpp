// The manual write-off dialog: its look and the exact comparison of the retyped number.
#include "generation/TForm4.h"
#include "support/MessageRecorder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace fat;

namespace {

struct WriteOffDialog : ::testing::Test {
    test::MessageRecorder messages;
};

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

TEST_F(WriteOffDialog, ShowsTheInvoiceAndAsksForItsNumber) {
    TForm4 d;
    d.DefinirNota("001234");
    EXPECT_EQ(d.windowTitle(), U("Baixa Manual de Nota Fiscal"));
    EXPECT_EQ(d.size(), QSize(489, 260));
    EXPECT_EQ(d.Label2->text(), U("Nota Fiscal 001234"));
    EXPECT_EQ(d.Label1->text(), U("Voce tem certeza que deseja baixar\nmanualmente esta nota fiscal ?"));
    EXPECT_EQ(d.Label3->text(), U("Digite o número da Nota e clique em baixar"));
    EXPECT_EQ(d.BitBtn1->text(), U("&Baixar"));
    EXPECT_EQ(d.BitBtn2->text(), U("Desistir"));
    EXPECT_FALSE(d.BitBtn1->isDefault() || d.BitBtn1->autoDefault() || d.BitBtn2->isDefault() || d.BitBtn2->autoDefault());
    struct Place { QWidget* control; QRect geometry; };
    for (const Place& p : {Place{d.Bevel1, {32, 16, 409, 129}}, Place{d.Label1, {64, 72, 337, 48}},
                           Place{d.BitBtn1, {120, 216, 100, 25}}, Place{d.BitBtn2, {232, 216, 100, 25}},
                           Place{d.edNum, {313, 168, 102, 21}}})
        EXPECT_EQ(p.control->geometry(), p.geometry) << p.control->objectName().toStdString();
    EXPECT_EQ(d.Label2->pos(), QPoint(64, 32));
    EXPECT_EQ(d.Label3->pos(), QPoint(58, 171));
    EXPECT_EQ(d.Label1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(d.Label2->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(d.Label1->font().pointSize(), 14);
    EXPECT_TRUE(d.Label1->font().bold() && d.Label2->font().bold() && d.Label3->font().bold());
    EXPECT_EQ(d.edNum->accessibleName(), "edNum");
    EXPECT_FALSE(d.Confirmado);

    // edNum has the focus first and takes no seventh character.
    bool focused = false;
    d.ShowModal([&](TForm4& shown) {
        focused = shown.focusWidget() == shown.edNum;
        QTest::keyClicks(shown.edNum, "1234567");
        shown.BitBtn2->click();
    });
    EXPECT_TRUE(focused);
    EXPECT_EQ(d.edNum->text(), "123456");
}

TEST_F(WriteOffDialog, ConfirmsOnlyTheExactNumberWithBaixarOrAltB) {
    const auto clicar = [](QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); };
    struct Case {
        const char* name;
        const char* numero;
        const char* typed;
        std::function<void(TForm4&)> act;
        bool confirmed;
        bool refused;
    };
    const Case cases[] = {
        {"Baixar", "001234", "001234", [&](TForm4& d) { clicar(d.BitBtn1); }, true, false},
        {"Alt+B", "001234", "001234",
         [](TForm4& d) {
             ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
             QTest::keyClick(&d, Qt::Key_B, Qt::AltModifier);
             // The mnemonic presses the button and clicks it a moment later.
             EXPECT_TRUE(QTest::qWaitFor([&] { return !d.isVisible(); }));
         },
         true, false},
        {"no leading zeros", "001234", "1234", [&](TForm4& d) { clicar(d.BitBtn1); }, false, true},
        {"a trailing blank", "1234", "1234 ", [&](TForm4& d) { clicar(d.BitBtn1); }, false, true},
        {"both empty", "", "", [&](TForm4& d) { clicar(d.BitBtn1); }, true, false},
        {"Desistir", "001234", "001234", [&](TForm4& d) { clicar(d.BitBtn2); }, false, false},
        {"Esc", "001234", "001234", [](TForm4& d) { QTest::keyClick(d.edNum, Qt::Key_Escape); }, false, false},
        {"the close box", "001234", "001234", [](TForm4& d) { d.close(); }, false, false},
        // Enter confirms nothing: neither button is the default one.
        {"Enter, then Desistir", "001234", "001234",
         [&](TForm4& d) {
             QTest::keyClick(d.edNum, Qt::Key_Return);
             EXPECT_TRUE(d.isVisible());
             EXPECT_FALSE(d.Confirmado);
             clicar(d.BitBtn2);
         },
         false, false},
    };
    for (const auto& c : cases) {
        messages.boxes.clear();
        TForm4 d;
        d.DefinirNota(c.numero);
        d.ShowModal([&](TForm4& shown) {
            QTest::keyClicks(shown.edNum, c.typed);
            c.act(shown);
            if (shown.isVisible()) {
                ADD_FAILURE() << c.name << ": the dialog is still open";
                shown.BitBtn2->click();
            }
        });
        EXPECT_FALSE(d.isVisible()) << c.name;
        EXPECT_EQ(d.Confirmado, c.confirmed) << c.name;
        ASSERT_EQ(messages.boxes.size(), c.refused ? 1u : 0u) << c.name;
        if (c.refused) {
            EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Error);
            EXPECT_EQ(messages.boxes[0].text, "N\xFAmero da nota n\xE3o confere.");
        }
    }
}

} // namespace
