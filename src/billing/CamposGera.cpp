// The fields of the pending-invoice record cdsGera: the NOTASAI columns it carries by name and
// the values the load computes for each invoice (held in memory only).
#include "datamodule/TDM.h"

#include "platform/core/Win1252.h"

namespace fat {
namespace {

using data::FieldDef;
using data::FieldKind;

const char* const FormatoValor = "#,###,##0.00";
const char* const FormatoData = "dd\"/\"mm\"/\"yyyy";

FieldDef Texto(const char* name, int size) { return FieldDef(name, DataType::String, size); }
FieldDef Inteiro(const char* name) { return FieldDef(name, DataType::Integer); }
FieldDef Decimal2(const char* name) { return FieldDef::decimal(name, 15, 2); }
FieldDef Data(const char* name) { return FieldDef(name, DataType::DateTime); }
FieldDef Calculado(const char* name, DataType type, int size = 0) { return FieldDef::calculated(name, type, size); }

} // namespace

void TDM::DefinirCamposGera() {
    cdsGera.close();
    cdsGera.clearFields();
    const std::vector<FieldDef> campos = {
        Inteiro("FILIAL_NS").asRequired(),
        Texto("DOCTO_NS", 6).asRequired().withLabel(Win1252("Número NF")),
        Texto("SERIE_NS", 2).asRequired(),
        Texto("UF_NS", 2),
        Texto("CNPJ_NS", 18),
        Texto("INSCEST_NS", 14),
        Texto("CODCONT_NS", 13),
        Texto("SITUACAO_NS", 1).withLabel("ST"),
        Inteiro("NUMPARC_NS"),
        Texto("PRAZO_NS", 400).withLabel("Prazo NF").withWidth(30),
        Data("EMISSAO_NS").withLabel(Win1252("Emissão")).withWidth(12).withFormat(FormatoData),
        Decimal2("VALOR_NS").withLabel("Valor NF").withFormat(FormatoValor),
        Decimal2("VRENTRADA_NS"),
        Decimal2("VRMERC_NS"),
        Decimal2("BICMS_NS"),
        Decimal2("VRICMS_NS"),
        Decimal2("BIPI_NS"),
        Decimal2("DIFERALIQ_NS"),
        Decimal2("VRIPI_NS"),
        Decimal2("VRFRETE_NS"),
        Texto("TPFRETE_NS", 1),
        Decimal2("VRICMFRETE_NS"),
        Decimal2("BICMFRETE_NS"),
        Decimal2("FRAUTONOMO_NS"),
        Texto("FRETEFORA_NS", 1),
        Decimal2("VRDESPESA_NS"),
        Decimal2("VRDESCTO_NS"),
        Decimal2("DESCTO1_NS"),
        Decimal2("DESCTO2_NS"),
        Inteiro("REPRES_NS").withLabel("Repres.").withWidth(3).withFormat("000"),
        Decimal2("COMISS_NS"),
        Decimal2("COMISS2_NS"),
        Decimal2("VRACRESCIMO_NS"),
        Inteiro("TRANSP_NS"),
        Inteiro("CODREDESP_NS"),
        Texto("PLACA_NS", 8),
        Texto("TPNOTA_NS", 1).withLabel("Tp.Nf"),
        Inteiro("QTDEVOL_NS"),
        Decimal2("PESOL_NS"),
        Decimal2("PESOB_NS"),
        Texto("NFENT_NS", 30),
        Inteiro("QTVOLUME_NS"),
        Texto("CLIFORREP_NS", 1),
        Decimal2("ABATIMENTO_NS"),
        Inteiro("PREPOSTO_NS"),
        Texto("CFOP_NS", 4).withLabel("CFOP"),
        Inteiro("CODIGO_NS").withLabel(Win1252("Cód.")).withWidth(6).withFormat("000000"),
        Texto("NOME_NS", 40).withLabel("Nome"),
        FieldDef("CHECK_NS", DataType::FixedChar, 1),
        Decimal2("ALIQICMS_NS"),
        Decimal2("OUTROSICM_NS"),
        Decimal2("ISENTOSICM_NS"),
        Decimal2("ISENTOSIPI_NS"),
        Decimal2("OUTROSIPI_NS"),
        Texto("NFFRETE_NS", 6),
        Texto("SERIEFRETE_NS", 6),
        Texto("TRNSPFRETE_NS", 6),
        Texto("OBSREGSAI_NS", 120),
        Decimal2("BSUBSTICM_NS"),
        Decimal2("VALSUBSTICM_NS"),
        Decimal2("ALIQICMFRETE_NS"),
        Decimal2("FRETEB_NS"),
        Decimal2("FRETE_NS"),
        Data("DTGERACONT_NS"),
        Data("DTENTREGA_NS"),
        Decimal2("BASECOMIS_NS"),
        Decimal2("VRDESCTOPIS_NS"),
        Decimal2("VRDESCTOCOFINS_NS"),
        Decimal2("VRDESCTOSUFRAMA_NS"),
        Data("UPLOAD_NS"),
        Texto("CODCONT2_NS", 13),
        Texto("SITCFOP_NS", 10),
        Decimal2("FRETEICMS_NS"),
        Decimal2("VRSEGURO_NS"),
        Data("DTSAIDA_NS"),
        Decimal2("VALOR_ITENS"),
        Decimal2("COMISSGER_NS"),
        Inteiro("GERENTECOMISS_NS"),
        Texto("FORMA_AGRUP_ITENS_NS", 15),

        Calculado("GERADO", DataType::String, 1).withLabel("Gerado"),
        Calculado("VALORPED", DataType::Currency).withLabel(Win1252("Valor Ped.")).withFormat(FormatoValor),
        Calculado("TPNOTA", DataType::String, 1),
        Calculado("PRAZOPED", DataType::String, 400).withLabel(Win1252("Prazo Ped.")).withWidth(30),
        Calculado("TABPRAZO", DataType::String, 2).withLabel("TB"),
        Calculado("SITDUP", DataType::String, 2).withLabel("Sit."),
        Calculado("NOME_REP", DataType::String, 30).withLabel("Nome Representante"),
        Calculado("NOME_PREP", DataType::String, 30).withLabel("Preposto"),
        Calculado("COMISSREC", DataType::Float),
        Calculado("COMISRECP", DataType::Float),
        Calculado("COMISRECG", DataType::Float),
        Calculado("DESCTO", DataType::Float),
        Calculado("VALORDESCTOPED", DataType::Currency),
        Calculado("DESCDP", DataType::Float),
        Calculado("DESCTOVINCVENCTO", DataType::String, 1),
        Calculado("DTBASE_CREC", DataType::Date).withLabel("Data Base Parcela").withFormat(FormatoData),
        Calculado("DESCTO_APROVADO", DataType::String, 1),
        Calculado("PDESCTO_TAB", DataType::Float),
        Calculado("PABAT_TAB", DataType::Float),
        Calculado("VRABAT_TAB", DataType::Currency),
        Calculado("VRCOMIS_ITEM_FAT", DataType::Currency)
            .withLabel(Win1252("Vr. Comissão Item Fat."))
            .withFormat(FormatoValor),
        Calculado("VRCOMIS_ITEM_REC", DataType::Currency)
            .withLabel(Win1252("Vr. Comissão Item Rec."))
            .withFormat(FormatoValor),
        Calculado("DESCONTO", DataType::Float),
    };
    for (const auto& campo : campos) cdsGera.addField(campo);
}

void TDM::PrepararPrazos() {
    if (cdsPrazos.active()) {
        cdsPrazos.emptyDataSet();
        return;
    }
    cdsPrazos.clearFields();
    cdsPrazos.addField(FieldDef("DIAS", DataType::Integer));
    cdsPrazos.addField(FieldDef("SIT", DataType::String, 10));
    cdsPrazos.addField(FieldDef("NUMNF", DataType::String, 6));
    // The invoice's branch and series too, so that invoices sharing a number stay apart.
    cdsPrazos.addField(FieldDef("FILIALNF", DataType::Integer));
    cdsPrazos.addField(FieldDef("SERIENF", DataType::String, 2));
    cdsPrazos.createDataSet();
}

void TDM::PrepararItens() {
    cdsItens.close();
    cdsItens.clearFields();
    // The invoice's own branch (FILIAL_SA holds the derived one): with number and series the key
    // of the invoice the copy belongs to. In memory only.
    cdsItens.addField(FieldDef::calculated("FILIAL_NF", DataType::Integer));
    // The copies go to ITENSNS as they are: a composed code or description too long for its
    // column stops the load rather than reach the table cut.
    cdsItens.setRejectLongTexts(true);
    sqlItensNS.setLines({"select * from ITENSNS where FILIAL_SA >= 100 and DOCTO_SA = '999999'"});
    cdsItens.setProvider(&dspItensNS);
    cdsItens.open();
}

} // namespace fat
