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
    void AbrirNotasPendentes(const std::string& documento, TDateTime emissaoInicial, TDateTime emissaoFinal);
    void CarregarPedidosNota(int filial, const std::string& numero, const std::string& serie);
    std::string VerificarGerado(const std::string& numero, const std::string& serie, TDateTime emissao);
    std::string NomeRepresentante(std::int64_t codigo);
    static bool SituacaoBaixaAutomatica(const std::string& situacao);
    static TDateTime DataNula();
    static double Arredondar(Amount valor, int casas);
    // The derived branch of an invoice's own branch: x100 below 10, else x10.
    static int FilialDerivada(int filial);

    // --- Payment terms ---
    void CarregarParcelas(std::int64_t prazoPagto, const std::string& pedido, const std::string& nota);
    void AdicionarPrazo(std::int64_t dias, const std::string& situacao, const std::string& nota);
    void LerPrazoObservacao(const std::string& observacao);
    void BuscarPrazoTabela();
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
