#include "directory/TfrmSelecionarBanco.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace fat::directory;

TEST(SelecionarBanco, TheDialogAsTheUserSeesIt) {
    TfrmSelecionarBanco dialog;
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Selecionar empresa"));
    EXPECT_EQ(dialog.size(), QSize(297, 177));
    EXPECT_EQ(dialog.Image1->geometry(), QRect(8, 8, 280, 85));
    EXPECT_FALSE(dialog.Image1->pixmap().isNull());
    EXPECT_EQ(dialog.Label1->text(), QString::fromUtf8("Selecione uma empresa"));
    EXPECT_FALSE(dialog.cbSelecionarEmpresa->isEditable());
    EXPECT_EQ(dialog.BitBtn1->text(), "Entrar");
    EXPECT_EQ(dialog.BitBtn2->text(), "Cancelar");
    EXPECT_FALSE(dialog.BitBtn1->isDefault());
    EXPECT_FALSE(dialog.BitBtn1->autoDefault());
}

TEST(SelecionarBanco, TheAnswersOfTheDialog) {
    struct Case {
        const char* name;
        std::function<void(TfrmSelecionarBanco&)> user;
        DialogResult result;
        int index;
    };
    const Case cases[] = {
        {"Entrar on the first", [](TfrmSelecionarBanco& d) { d.BitBtn1->click(); }, DialogResult::Ok, 0},
        {"another entry, Entrar",
         [](TfrmSelecionarBanco& d) {
             d.cbSelecionarEmpresa->setCurrentIndex(2);
             d.BitBtn1->click();
         },
         DialogResult::Ok, 2},
        {"Cancelar", [](TfrmSelecionarBanco& d) { d.BitBtn2->click(); }, DialogResult::Cancel, 0},
        {"the close box", [](TfrmSelecionarBanco& d) { d.close(); }, DialogResult::Cancel, 0},
        {"Esc and Enter on the list close nothing",
         [](TfrmSelecionarBanco& d) {
             d.cbSelecionarEmpresa->setFocus();
             QTest::keyClick(&d, Qt::Key_Escape);
             QTest::keyClick(&d, Qt::Key_Return);
             EXPECT_TRUE(d.isVisible());
             d.BitBtn2->setFocus();
             QTest::keyClick(d.BitBtn2, Qt::Key_Return); // Enter presses the focused button
         },
         DialogResult::Cancel, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SelecionarBancoChooser chooser;
        std::vector<QString> entries;
        chooser.onShown = [&](TfrmSelecionarBanco& d) {
            for (int i = 0; i < d.cbSelecionarEmpresa->count(); ++i) entries.push_back(d.cbSelecionarEmpresa->itemText(i));
            c.user(d);
        };
        const auto choice = chooser.Choose({"Alfa Matriz", "Beta", "Beta", "Com\xE9rcio"}, 0);
        EXPECT_EQ(choice.result, c.result);
        if (c.result == DialogResult::Ok) {
            EXPECT_EQ(choice.index, c.index);
        }
        EXPECT_EQ(entries, (std::vector<QString>{"Alfa Matriz", "Beta", "Beta", QString::fromUtf8("Comércio")}));
    }
}
