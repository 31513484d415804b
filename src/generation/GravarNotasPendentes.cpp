// The save of the pending invoices: per invoice a stamp, nothing, a refusal or the generation of
// its copy, receivables, item copies and order links; all of it in one transaction, committed
// after the buffers are applied, rolled back on any error.
#include "datamodule/TDM.h"

#include "generation/VerificarPrecisao.h"
#include "platform/data/DataSetGuards.h"
#include "platform/core/Errors.h"
#include "platform/core/UserMessages.h"
#include "platform/core/Win1252.h"
#include "platform/sql/Transaction.h"

#include <chrono>
#include <random>

namespace fat {
namespace {

int IdentificadorTransacao() {
    std::mt19937 gerador(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
    return std::uniform_int_distribution<int>(0, 49999)(gerador);
}

// The copy's value (step by step on its field): the unbilled part under partial billing, else
// the whole order value.
void DefinirValorCopia(TDM& dm, bool parcial, Amount pedido, Amount valorNota) {
    data::Field& valor = dm.cdsNF100.fieldByName("VALOR_NS");
    const auto somar = [&](const char* nome) { valor.setAsAmount(valor.asAmount() + dm.cdsGera.fieldByName(nome).asAmount()); };
    const bool paldi = dm.NOME_EMPRESA == "PALDI";
    if (parcial) {
        valor.setAsAmount(pedido - valorNota);
        somar("VRFRETE_NS");
        if (!paldi) {
            somar("VRDESPESA_NS");
            somar("VRSEGURO_NS");
            somar("VRIPI_NS");
        }
    } else {
        valor.setAsAmount(pedido);
        if (paldi) somar("VRFRETE_NS");
    }
}

} // namespace

void TDM::GravarNotasPendentes() {
    CarregarParametros();
    // Copies and receivables belong under branches of 100 or more: a configured branch below that
    // would write them among the ERP's own invoices.
    if (!FilGeraPorNota && FilGera < 100)
        throw Error(Win1252("O parâmetro FIL_CODIGO (") + Parametros.FIL_CODIGO +
                    Win1252(") não é uma filial de cópia: as cópias e duplicatas são gravadas em filiais a partir de "
                            "100, ou na filial derivada de cada nota com 0. Nada foi gravado."));
    PrepararBuffers();

    sql::Transaction transacao(sqlCon, IdentificadorTransacao());
    if (cdsGera.active()) {
        data::ControlsSuspended semTela({&cdsGera, &cdsPed, &cdsItens});
        const auto gera = [this](const char* nome) -> const data::Field& { return cdsGera.fieldByName(nome); };
        for (cdsGera.first(); !cdsGera.eof(); cdsGera.next()) {
            const int filial = static_cast<int>(gera("FILIAL_NS").asInteger());
            const std::string docto = gera("DOCTO_NS").asString();
            const std::string serie = gera("SERIE_NS").asString();
            if (FilGeraPorNota) FilGera = FilialDerivada(filial);

            // Written off: only the stamp with the null date.
            if (!gera("DTGERACONT_NS").isNull() && gera("DTGERACONT_NS").asDateTime() == DataNula()) {
                AtualizarDataGeracao(filial, docto, serie, DataNula());
                continue;
            }

            // Eligibility.
            const double valorPedido = gera("VALORPED").asFloat();
            if (gera("GERADO").asString() != "N" || !CfopGeraDuplicata() || !(valorPedido > 0)) continue;
            const Amount pedido = Amount::fromDouble(valorPedido);
            const Amount valorNota = gera("VALOR_NS").asAmount();
            const std::string tpNota = gera("TPNOTA").asString();

            // Validation.
            if (!(TPFATUR == "P" && tpNota == "I") && gera("SITDUP").asString().empty() &&
                (!gera("PRAZOPED").asString().empty() || pedido != valorNota)) {
                ShowMessageBox(MessageIcon::Error, Win1252("Situação da duplicata não informada na NF ") + docto);
                continue;
            }

            std::string dias;
            const int n = LerPrazoPedido(gera("PRAZOPED").asString(), dias);

            // Stamp only.
            const bool aVista = GeraNotaAVista();
            const bool lorevQuebe = NOME_EMPRESA == "LOREV" || NOME_EMPRESA == "QUEBE";
            if (TPFATUR == "P" && (tpNota == "I" || aVista) && !((lorevQuebe || aVista) && n > 0)) {
                AtualizarDataGeracao(filial, docto, serie, Today());
                if (GERARCOPIADUP == "S" && NOME_EMPRESA == "DORANE_FELTRIC") {
                    CopiarNota();
                    CopiarItensNota();
                    CopiarDuplicatasExistentes();
                    CopiarPedidosNota();
                    cdsNF100.post();
                }
                continue;
            }

            // Generation.
            if (n <= 0) continue;
            CopiarNota();
            DuplicataGravada = false;
            const bool parcial = GeraParcial(valorNota, pedido);
            DefinirValorCopia(*this, parcial, pedido, valorNota);
            const Value valorCopia = cdsNF100.fieldByName("VALOR_NS").value();
            cdsNF100.fieldByName("VRMERC_NS").setValue(valorCopia);
            cdsNF100.fieldByName("BASECOMIS_NS").setValue(valorCopia);
            cdsNF100.fieldByName("NUMPARC_NS").setAsInteger(n);
            cdsNF100.fieldByName("PRAZO_NS").setAsString(dias);
            cdsNF100.fieldByName("VRCOMIS_ITEM_NS").setValue(gera("VRCOMIS_ITEM_FAT").value());
            if (NOME_EMPRESA != "PALDI" && NOME_EMPRESA != "VESKOLA" && pedido == valorNota)
                cdsNF100.fieldByName("BASECOMIS_NS").setAsInteger(0);
            cdsNF100.post();

            if (TPFATUR == "T" || pedido > valorNota || ((lorevQuebe || aVista) && (tpNota == "I" || aVista)))
                GerarDuplicatasNota();

            if (GERARCOPIADUP == "S" && (parcial || pedido <= valorNota)) {
                CopiarDuplicatasExistentes();
                if (!(NOME_EMPRESA == "NUSK" && !parcial)) {
                    cdsNF100.edit();
                    cdsNF100.fieldByName("BASECOMIS_NS").setValue(cdsNF100.fieldByName("VALOR_NS").value());
                    cdsNF100.post();
                }
            }

            // No receivable: nothing of this invoice is written and it stays pending.
            if (!DuplicataGravada) {
                cdsNF100.deleteRecord();
                continue;
            }
            CopiarItensNota();
            CopiarPedidosNota();
            AtualizarDataGeracao(filial, docto, serie, Today());
        }
    }

    // The buffers, table by table; a value too large for its column ends the save here.
    const std::pair<data::ClientDataSet*, const char*> buffers[] = {
        {&cdsNF100, "NOTASAI"}, {&cdsNP100, "NOTASAI_PEDVEND"}, {&cdsDup, "DUPLICATAS"}, {&cdsItensNS, "ITENSNS"}};
    for (const auto& [buffer, tabela] : buffers) {
        generation::VerificarPrecisao(sqlCon, *buffer, tabela);
        buffer->applyUpdates(0);
    }
    transacao.commit();
}

} // namespace fat
