#pragma once
#include "datamodule/TParametros.h"
#include "datamodule/TProgresso.h"
#include "platform/core/Amount.h"
#include "platform/core/DateTime.h"
#include "db/TCRSQLConnection.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/SqlProvider.h"
#include "platform/sql/Query.h"

#include <memory>
#include <string>

namespace fat {

class TPedVenda;
class TTabPreco;

// The data module: the one owner of the database connection, every dataset and the
// configuration state. Its operations are defined in the folders of their subsystems.
class TDM {
public:
    TDM();
    ~TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // Creation and destruction sequences of the module (connection, parameters, tables).
    void DataModuleCreate();
    void DataModuleDestroy();

    // Connection set-up.
    void Conectar();

    // Parameters of group "GERADUP".
    std::string LerParametro(const std::string& chave);
    void GravarParametro(const std::string& chave, const std::string& valor);
    void CarregarParametros();
    void AplicarPadroesIni();

    // True when the discount configuration is valid; shows the error box otherwise.
    bool VerificarConfiguracaoDescontos();
    // Where the directory server names the database (location and password).
    void ConectarServidorDiretorio(const std::string& host, std::string& location, std::string& password);

    // Start-up steps of the module's tables.
    void AbrirTabelaPrazos();
    void CriarPedidos();

    // --- Pending invoices ---
    // The fields of cdsGera, cdsPrazos (emptied or created) and cdsItens (opened empty with the
    // columns of ITENSNS).
    void DefinirCamposGera();
    void PrepararPrazos();
    void PrepararItens();
    // Opens the order-link buffer cdsNP100 empty when it is not open yet.
    void AbrirBufferPedidos();
    // Deletes the records of an open dataset one by one from the first until none is left.
    static void ApagarRegistros(data::ClientDataSet& dataSet);
    void AbrirNotasPendentes(const std::string& documento, TDateTime emissaoInicial, TDateTime emissaoFinal);
    // The text of sqlNotaPed (an invoice's sales orders), given once.
    void DefinirTextoNotaPed();
    void CarregarPedidosNota(int filial, const std::string& numero, const std::string& serie);
    std::string VerificarGerado(const std::string& numero, const std::string& serie, TDateTime emissao);
    std::string NomeRepresentante(std::int64_t codigo);
    static bool SituacaoBaixaAutomatica(const std::string& situacao);
    static TDateTime DataNula();
    static double Arredondar(Amount valor, int casas);
    // A document number typed shorter than 6 characters with zeros put before it up to 6
    // (12 gives 000012); a blank one, or one of 6 or more, as typed.
    static std::string CompletarDocumento(const std::string& texto);
    // The derived branch of an invoice's own branch: x100 below 10, else x10.
    static int FilialDerivada(int filial);

    // --- Payment terms ---
    // The invoice is named by branch, number and series: invoices sharing a number stay apart.
    void CarregarParcelas(std::int64_t prazoPagto, const std::string& pedido, int filial, const std::string& nota,
                          const std::string& serie);
    void AdicionarPrazo(std::int64_t dias, const std::string& situacao, int filial, const std::string& nota,
                        const std::string& serie);
    void LerPrazoObservacao(const std::string& observacao);
    // tabPrazoPedido: TABPRAZO_PV of the order being processed.
    void BuscarPrazoTabela(const Value& tabPrazoPedido);
    // Whether an invoice or an item was billed only in part (PRAZO_NS of the current cdsGera row).
    bool GeraParcial(Amount a, Amount b);
    // The stricter rule of the reprocessing, for the term text given.
    bool GeraParcialReprocessa(Amount a, Amount b, const std::string& prazo);

    // --- Item copies ---
    Amount CopiarItensPedido(const std::string& pedido, const std::string& nota, const std::string& serie,
                             int filial, TDateTime emissao);
    Amount CopiarItensPV(const std::string& pedido, const std::string& nota, const std::string& serie, int filial,
                         TDateTime emissao);
    Amount CopiarItensPVGrade(const std::string& pedido, const std::string& nota, const std::string& serie,
                              int filial, TDateTime emissao);
    static int FormaAgrupamento(const std::string& forma);
    void TotalizarItensNota();

    // --- Save of the pending invoices and receivables (src/generation/) ---
    // The whole save in one transaction; raises (after the rollback) when anything fails.
    void GravarNotasPendentes();
    bool CfopGeraDuplicata();
    bool GeraNotaAVista();
    void AtualizarDataGeracao(int filial, const std::string& numero, const std::string& serie, TDateTime data);
    void CopiarNota();
    void CopiarItensNota();
    void CopiarDuplicatasExistentes();
    void CopiarPedidosNota();
    void LimparNotasPendentes();
    void GerarDuplicatasNota();
    // The instalment count of a term text in the plan form ("03 030/060/090") and its day list
    // ("030/060/090"); 0 and an empty list for a text that does not follow the form.
    static int LerPrazoPedido(const std::string& prazo, std::string& dias);
    TDateTime CalcularVencimento(int dias, TDateTime base);
    std::string SituacaoParcela(int dias);
    // Buffers.cpp: the write buffers built empty; ErrosAtualizacao.cpp: the update-error
    // handlers and their installation on the providers.
    void PrepararBuffers();
    void LigarErrosAtualizacao();
    static void dspNF100UpdateError(const data::UpdateError& erro);
    static void dspDupUpdateError(const data::UpdateError& erro);
    static void dspItensNSUpdateError(const data::UpdateError& erro);
    static void dspNP100UpdateError(const data::UpdateError& erro);
    static void dspNF1UpdateError(const data::UpdateError& erro);
    static void dspTabPrazoUpdateError(const data::UpdateError& erro);
    // RedistribuirCondicao.cpp: the payment-condition re-split of the current copy's receivables
    // counted from the base date.
    void RedistribuirCondicao(TDateTime base);
    // Set whenever a receivable row of the current invoice is posted into cdsDup.
    bool DuplicataGravada = false;

    // --- Reprocessing of item copies (src/reprocess/) ---
    // The fields of cdsNFVrDif, the list of invoice copies whose value differs from the sum of
    // their item copies (SELEC, the selection flag, in memory only).
    void DefinirCamposNFVrDif();
    // Lists those copies; a date of 0 sets no limit, a blank document number selects any.
    void AbrirNotasDiferenca(const std::string& documento, TDateTime emissaoInicial, TDateTime emissaoFinal);
    // Rewrites the item copies (and the value) of every ticked row of cdsNFVrDif, copy by copy;
    // an error ends the walk at that copy, the copies before it keep their changes.
    void ReprocessarItens();
    // The steps for the current row of cdsNFVrDif.
    void AbrirItensCopia();
    void ApagarItensCopia();
    void RecriarItensNota();
    void RecriarItensPedido(const std::string& pedido);
    void RatearValorItens();
    void AtualizarValorNota();
    // The working values of the copy being reprocessed.
    int ContadorItem = 0;
    Amount TotalBruto;
    Amount TotalDesconto;
    Amount NovoValor;

    // Where long operations report progress (the billing window); none by default.
    TProgresso* Progresso = nullptr;

    // --- components ---
    db::TCRSQLConnection sqlCon;
    sql::Query sqlConfig{sqlCon};

    sql::Query sqlTabPrazo{sqlCon};
    data::SqlProvider dspTabPrazo{sqlTabPrazo};
    data::ClientDataSet cdsTabPrazo{"cdsTabPrazo"};

    data::ClientDataSet cdsPed{"cdsPed"};

    sql::Query sqlNF1{sqlCon};
    data::SqlProvider dspNF1{sqlNF1};
    data::ClientDataSet cdsGera{"cdsGera"};

    sql::Query sqlNotaPed{sqlCon};
    sql::Query sqlPrazoNota{sqlCon};
    sql::Query sqlPrazoPed{sqlCon};
    sql::Query sqlPrazoPagto{sqlCon};
    data::SqlProvider dspPrazoPagto{sqlPrazoPagto};
    data::ClientDataSet cdsPrazoPagto{"cdsPrazoPagto"};
    data::ClientDataSet cdsPrazos{"cdsPrazos"};

    sql::Query sqlRepres{sqlCon};
    data::SqlProvider dspRepres{sqlRepres};
    data::ClientDataSet cdsRepres{"cdsRepres"};

    sql::Query sqlItensPv{sqlCon};
    sql::Query sqlItensNS{sqlCon};
    data::SqlProvider dspItensNS{sqlItensNS};
    data::ClientDataSet cdsItensNS{"cdsItensNS"};
    data::ClientDataSet cdsItens{"cdsItens"};
    sql::Query sqlConsItensNs{sqlCon};

    sql::Query sqlNF100{sqlCon};
    data::SqlProvider dspNF100{sqlNF100};
    data::ClientDataSet cdsNF100{"cdsNF100"};
    sql::Query sqlNP100{sqlCon};
    data::SqlProvider dspNP100{sqlNP100};
    data::ClientDataSet cdsNP100{"cdsNP100"};
    sql::Query sqlDup{sqlCon};
    data::SqlProvider dspDup{sqlDup};
    data::ClientDataSet cdsDup{"cdsDup"};
    sql::Query sqlDup1{sqlCon};
    sql::Query sqlCondPagto{sqlCon};
    data::SqlProvider dspCondPagto{sqlCondPagto};
    data::ClientDataSet cdsCondPagto{"cdsCondPagto"};
    sql::Query sqlAtuDtGera{sqlCon};

    sql::Query sqlNFVrDif{sqlCon};
    data::SqlProvider dspNFVrDif{sqlNFVrDif};
    data::ClientDataSet cdsNFVrDif{"cdsNFVrDif"};
    sql::Query sqlAtuVrNotaSai{sqlCon};

    // The sales order models (gross and net prices) and the price table.
    std::unique_ptr<TPedVenda> PedVendaBruto;
    std::unique_ptr<TPedVenda> PedVendaLiquido;
    std::unique_ptr<TTabPreco> TabPreco;

    // --- configuration state ---
    TParametros Parametros;
    int FilGera = 0;
    bool FilGeraPorNota = false;
    std::string NOME_EMPRESA;
    std::string TPFATUR;
    std::string GERARCOPIADUP;
    // Set by the creation when the discount configuration check failed: the main button is
    // then disabled.
    bool DescontosInvalidos = false;
};

} // namespace fat
