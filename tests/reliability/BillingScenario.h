#pragma once
// Three pending invoices of 100.00, each with one sales order of one item, loaded in a billing
// window and ready for "Gravar". The first two orders carry their own instalments (30 and 60
// days); the third takes its term from the code table, so that its receivables are re-split by
// the payment condition (a lookup of CONDPAGTO during the save, after the other two's stamps).
#include "SaveRows.h"

#include "../windows/BillingWindowFixture.h"

#include <string>
#include <vector>

namespace fat::test {

struct BillingScenario : BillingWindowFixture {
    static constexpr const char* Documentos[] = {"000001", "000002", "000003"};
    // What the save writes for the three: per invoice a copy, a link, two receivables, an item
    // copy and the stamp.
    static constexpr SaveRows Tudo{3, 3, 6, 3, 3};
    static constexpr SaveRows Nada{};

    TfrmProcessaNF* w = nullptr;

    BillingScenario() {
        dm.TPFATUR = "T";
        dm.NOME_EMPRESA = "CALCADOS MODELO";
        dm.GERARCOPIADUP = "S"; // each invoice also looks up receivables stored in its own branch
        for (const char* docto : Documentos) {
            Invoice n;
            n.docto = docto;
            invoice(n);
            const std::string pedido = std::string("P") + docto;
            order(pedido, n, 100);
            exec("update PEDVENDA set OBS_PV = null, TABELA_PRECOS_PV = 1, PRAZOPAGTO_PV = 5 where NUM_PV = " + Q(pedido));
            for (const char* dias : {"30", "60"})
                exec("insert into PEDVENDA_PARCELAS values (" + Q(pedido) + ", " + dias + ", '01', 50, 'S')");
        }
        exec("update PEDVENDA set TABELA_PRECOS_PV = null, PRAZOPAGTO_PV = null, TABPRAZO_PV = '05'"
             " where NUM_PV = 'P000003'");
        exec("insert into TABELA values ('98', '05', '02 030/060')");
        exec("insert into CONDPAGTO values ('98', '05', '030', 40)");
        exec("insert into CONDPAGTO values ('98', '05', '060', 60)");
    }

    // The window, loaded with the three invoices and nothing shown.
    void abrirECarregar() {
        w = abrir();
        carregar(*w);
        ASSERT_EQ(w->dbgGera->model()->rowCount(), 3);
        ASSERT_TRUE(messages.boxes.empty()) << messages.boxes[0].text;
    }
    // "Gravar"; the boxes it showed.
    std::vector<MessageBoxRequest> gravar() {
        messages.boxes.clear();
        clicar(w->btGravar);
        return messages.boxes;
    }
    SaveRows gravado() { return CountSaveRows(db.connection()); }

    // The invoices of a branch with their stamp ("null" when none), in number order.
    std::vector<std::string> carimbos(int filial = 1) {
        std::vector<std::string> r;
        sql::Query q(db.connection());
        q.setSql("select DOCTO_NS, cast(DTGERACONT_NS as date) from NOTASAI where FILIAL_NS = " +
                 std::to_string(filial) + " order by DOCTO_NS");
        for (q.open(); !q.eof(); q.next())
            r.push_back(q.field(0).asString() + "|" + (q.field(1).isNull() ? "null" : q.field(1).asString()));
        return r;
    }
    std::vector<std::string> listados() const {
        std::vector<std::string> r;
        for (int i = 0; i < w->dbgGera->model()->rowCount(); ++i) r.push_back(celula(*w->dbgGera, i, 0));
        return r;
    }
};

} // namespace fat::test
