// The receivables of the invoice copy (the current cdsNF100 row): equal instalments truncated to
// the cent with the remainder on the first, the item commissions spread the same way (rounded),
// due dates from the base date, and the re-split by the order's payment condition.
#include "datamodule/TDM.h"

#include "generation/DuplicataRepetida.h"
#include "platform/core/Errors.h"
#include "platform/core/Format.h"

#include <cstdint>

namespace fat {
namespace {

Amount Vezes(Amount valor, int n) {
    std::int64_t r;
    if (__builtin_mul_overflow(valor.raw(), static_cast<std::int64_t>(n), &r)) throw ConversionError("amount overflow");
    return Amount::fromRaw(r);
}

// V / n × 100 as a four-decimal amount (ties to even), its fraction cut off, divided by 100: the
// instalment truncated to the cent. Worked out on V's exact count of ten-thousandths, so that
// the largest values a NUMERIC(15,2) column holds give the same split as small ones: through a
// float and an amount of cents, 9999999999999.99 would overflow the amount and gather noise.
Amount ParcelaTruncada(Amount valor, int n) {
    const bool negativo = valor.raw() < 0;
    const auto bits = static_cast<std::uint64_t>(valor.raw());
    const std::uint64_t m = negativo ? 0 - bits : bits;
    const auto d = static_cast<std::uint64_t>(n);
    // m × 100 / n = 100 A + u + w / n, without forming m × 100.
    const std::uint64_t A = m / d, t = m % d * 100, u = t / d, w = t % d;
    const std::uint64_t arredonda = (2 * w > d || (2 * w == d && u % 2 == 1)) ? 1 : 0;
    const std::uint64_t centavos = A / 100 + (A % 100 * 100 + u + arredonda) / 10000;
    const auto bruto = static_cast<std::int64_t>(centavos * 100);
    return Amount::fromRaw(negativo ? -bruto : bruto);
}

// "A" ... "Z", then "AA", "AB" ... with LETRA; "01", "02" ... otherwise.
std::string Ordem(const std::string& estilo, int i, int j) {
    if (estilo != "LETRA") return FormatFloat("00", i);
    if (i <= 26) return std::string(1, static_cast<char>('A' + i - 1));
    return std::string("A") + static_cast<char>('A' + j - 1);
}

} // namespace

void TDM::GerarDuplicatasNota() {
    const data::ClientDataSet& copia = cdsNF100;
    const auto nota = [&copia](const char* nome) -> const data::Field& { return copia.fieldByName(nome); };
    const auto gera = [this](const char* nome) -> const data::Field& { return cdsGera.fieldByName(nome); };
    const int n = static_cast<int>(nota("NUMPARC_NS").asInteger());
    if (n <= 0) return;

    // 1. The instalment, truncated to the cent; the remainder (zero or positive) on the first.
    const Amount V = nota("VALOR_NS").asAmount();
    const Amount P = ParcelaTruncada(V, n);
    Amount R = V - Vezes(P, n);

    // 2. The commission, rounded to the cent; its remainder (of either sign) on the first.
    const double C = gera("VRCOMIS_ITEM_REC").asFloat();
    const Amount K = Amount::fromDouble(Arredondar(Amount::fromDouble(C / n), 2));
    Amount RK = Amount::fromDouble(C) - Vezes(K, n);

    // 3. The base date.
    const TDateTime emissao = nota("EMISSAO_NS").asDateTime();
    const TDateTime dataBase = gera("DTBASE_CREC").asDateTime();
    TDateTime B = dataBase;
    if (emissao > dataBase)
        B = Parametros.DUP_DATA_INICIO_PARCELAS == "EMISSAO" ? emissao : gera("DTSAIDA_NS").asDateTime();

    // 4. One row per instalment.
    const std::string numero = nota("DOCTO_NS").asString();
    const std::string serie = nota("SERIE_NS").asString();
    const std::string prazo = nota("PRAZO_NS").asString();
    const auto campo = [this](const char* nome) -> data::Field& { return cdsDup.fieldByName(nome); };
    int j = 1;
    for (int i = 1; i <= n; ++i) {
        if (j > 26) j = 1;
        const std::size_t inicio = static_cast<std::size_t>(4 * (i - 1));
        const int dias = inicio < prazo.size() ? StrToIntDef(prazo.substr(inicio, 3), 0) : 0;
        const std::string ordem = Ordem(Parametros.DUP_ORDDUP, i, j);
        generation::ExigirDuplicataNova(cdsDup, FilGera, numero, serie, ordem);

        cdsDup.append();
        campo("ID_DP").setAsInteger(0);
        campo("NUM_DP").setAsString(numero);
        campo("ORD_DP").setAsString(ordem);
        campo("FILIAL_DP").setAsInteger(FilGera);
        campo("SERIE_NOTA_DP").setAsString(serie);
        campo("EMISSAO_DP").setValue(nota("EMISSAO_NS").value());
        campo("CLIENTE_DP").setValue(nota("CODIGO_NS").value());
        campo("REPRES_DP").setValue(nota("REPRES_NS").value());
        campo("PREPOSTO_DP").setValue(nota("PREPOSTO_NS").value());
        const TDateTime vencimento = CalcularVencimento(dias, B);
        campo("VENCTO_DP").setAsDateTime(vencimento);
        campo("VENCTOORIG_DP").setAsDateTime(vencimento);
        campo("VALOR_DP").setAsFloat((P + R).toDouble());
        campo("BASECOMISS_DP").setValue(campo("VALOR_DP").value());
        campo("VALORNOTA_DP").setValue(nota("VALOR_NS").value());
        campo("COMISSAO_DP").setValue(gera("COMISSREC").value());
        campo("COMISPREP_DP").setValue(gera("COMISRECP").value());
        campo("VRCOMIS_ITEM_DP").setAsFloat((K + RK).toDouble());
        campo("SIT_DP").setAsString(Parametros.SIT_DUPLICATA_PADRAO.empty() ? SituacaoParcela(dias)
                                                                            : Parametros.SIT_DUPLICATA_PADRAO);
        campo("PERCDESC_DP").setValue(gera("DESCDP").value());
        campo("VINCULA_DP").setValue(gera("DESCTOVINCVENCTO").value());
        campo("TIPO_DP").setAsString("DP");
        campo("CODCONTABIL_DP").setValue(nota("CODCONT_NS").value());
        campo("STATUS_DP").setAsString("A");
        campo("INDISP_DP").setAsString("N");
        campo("COMISSAOGER_DP").setValue(gera("COMISRECG").value());
        campo("GERENTECOMISS_DP").setValue(nota("GERENTECOMISS_NS").value());
        cdsDup.post();
        DuplicataGravada = true;
        R = Amount();
        RK = Amount();
        ++j;
    }

    // 5. The payment condition's percentages, when the order names one.
    if (!gera("TABPRAZO").asString().empty()) RedistribuirCondicao(B);
}

} // namespace fat
