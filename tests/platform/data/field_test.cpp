#include "MemoryProvider.h"

#include "platform/core/DateTime.h"
#include "platform/core/Win1252.h"

#include <gtest/gtest.h>

using namespace fat;
using namespace fat::data;
using namespace fat::data::test;

namespace {

// A dataset created in code with one field of each kind the product uses.
struct Fields : ::testing::Test {
    ClientDataSet ds{"cdsGera"};
    void SetUp() override {
        ds.addField(FieldDef("DOCTO_NS", DataType::String, 6).asRequired().withLabel("Número NF"));
        ds.addField(FieldDef("FILIAL_NS", DataType::Integer));
        ds.addField(FieldDef("QTD", DataType::SmallInt));
        ds.addField(FieldDef::decimal("VALOR_NS", 15, 2).withFormat("#,###,##0.00"));
        ds.addField(FieldDef("VALORPED", DataType::Currency));
        ds.addField(FieldDef("EMISSAO_NS", DataType::DateTime).withFormat("dd\"/\"mm\"/\"yyyy"));
        ds.addField(FieldDef("REPRES_NS", DataType::Integer).withFormat("000").withWidth(3));
        ds.addField(FieldDef("SELEC", DataType::Boolean));
        ds.createDataSet();
        ds.append();
    }
};

TEST_F(Fields, TextLongerThanTheSizeIsCutToTheSize) {
    ds.fieldByName("DOCTO_NS").setAsString("1234567890");
    EXPECT_EQ(ds.fieldByName("DOCTO_NS").asString(), "123456");
    ds.post();
    EXPECT_EQ(ds.fieldByName("DOCTO_NS").asString(), "123456");
}

TEST_F(Fields, ValuesAreConvertedToTheFieldType) {
    ds.fieldByName("DOCTO_NS").setAsInteger(123);
    ds.fieldByName("FILIAL_NS").setAsString(" 12 ");
    ds.fieldByName("VALOR_NS").setAsFloat(2.675); // halves away from zero on its decimal digits
    ds.fieldByName("VALORPED").setAsString("10,5");
    ds.fieldByName("EMISSAO_NS").setAsString("02/01/2024");
    ds.fieldByName("SELEC").setAsString("S");
    EXPECT_TRUE(ds.fieldByName("DOCTO_NS").value().isString());
    EXPECT_EQ(ds.fieldByName("DOCTO_NS").asString(), "123");
    EXPECT_EQ(ds.fieldByName("FILIAL_NS").value(), Value::fromInteger(12));
    EXPECT_EQ(ds.fieldByName("VALOR_NS").asDecimal().toString(), "2.68");
    EXPECT_DOUBLE_EQ(ds.fieldByName("VALORPED").asFloat(), 10.5);
    EXPECT_EQ(ds.fieldByName("EMISSAO_NS").asDateTime(), EncodeDate(2024, 1, 2));
    EXPECT_TRUE(ds.fieldByName("SELEC").asBoolean());
}

TEST_F(Fields, AValueThatCannotBeConvertedNamesTheFieldAndTheValue) {
    struct Case { const char* field; Value value; };
    const Case cases[] = {
        {"FILIAL_NS", S("abc")},
        {"VALOR_NS", S("12x")},
        {"EMISSAO_NS", S("31/02/2024")},
        {"QTD", I(40000)},                       // beyond a SmallInt
        {"VALOR_NS", D("12345678901234.56")},    // 16 digits in a 15,2 field
    };
    for (const auto& c : cases) {
        try {
            ds.fieldByName(c.field).setValue(c.value);
            ADD_FAILURE() << c.field << " took " << c.value.asString();
        } catch (const ConversionError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find(c.field), std::string::npos) << text;
            EXPECT_NE(text.find(c.value.asString()), std::string::npos) << text;
        }
        EXPECT_TRUE(ds.fieldByName(c.field).isNull()) << c.field << " changed by a failed set";
    }
}

TEST_F(Fields, AnEmptyTextClearsANonTextField) {
    ds.fieldByName("FILIAL_NS").setAsInteger(5);
    ds.fieldByName("FILIAL_NS").setAsString("");
    EXPECT_TRUE(ds.fieldByName("FILIAL_NS").isNull());
    ds.fieldByName("DOCTO_NS").setAsString("");
    EXPECT_FALSE(ds.fieldByName("DOCTO_NS").isNull()); // an empty text is a text
}

TEST_F(Fields, SettingOutsideEditOrInsertIsAnError) {
    ds.fieldByName("DOCTO_NS").setAsString("000001");
    ds.post();
    EXPECT_THROW(ds.fieldByName("FILIAL_NS").setAsInteger(1), Error);
    EXPECT_TRUE(ds.fieldByName("FILIAL_NS").isNull());
    ds.edit();
    ds.fieldByName("FILIAL_NS").setAsInteger(1);
    ds.post();
    EXPECT_EQ(ds.fieldByName("FILIAL_NS").asInteger(), 1);
}

TEST_F(Fields, DisplayTextAppliesTheDisplayFormat) {
    ds.fieldByName("VALOR_NS").setAsDecimal(Decimal::parse("1234567.5"));
    ds.fieldByName("EMISSAO_NS").setAsDateTime(EncodeDateTime({2024, 3, 5, 14, 30, 0, 0}));
    ds.fieldByName("REPRES_NS").setAsInteger(7);
    ds.fieldByName("FILIAL_NS").setAsInteger(12);
    EXPECT_EQ(ds.fieldByName("VALOR_NS").displayText(), "1.234.567,50");
    EXPECT_EQ(ds.fieldByName("EMISSAO_NS").displayText(), "05/03/2024");
    EXPECT_EQ(ds.fieldByName("REPRES_NS").displayText(), "007");
    EXPECT_EQ(ds.fieldByName("FILIAL_NS").displayText(), "12");
    EXPECT_EQ(ds.fieldByName("VALORPED").displayText(), "");
    EXPECT_EQ(ds.fieldByName("DOCTO_NS").displayLabel(), "Número NF");
    EXPECT_EQ(ds.fieldByName("FILIAL_NS").displayLabel(), "FILIAL_NS");
    EXPECT_EQ(ds.fieldByName("REPRES_NS").displayWidth(), 3);
}

TEST_F(Fields, AmountsAreExactFromDecimalsAndRoundedFromFloats) {
    ds.fieldByName("VALOR_NS").setAsDecimal(Decimal::parse("-0.99"));
    ds.fieldByName("VALORPED").setAsFloat(0.00025); // 2.5 ten-thousandths: ties to even
    EXPECT_EQ(ds.fieldByName("VALOR_NS").asAmount().raw(), -9900);
    EXPECT_EQ(ds.fieldByName("VALORPED").asAmount().raw(), 2);
    ds.fieldByName("VALOR_NS").setAsAmount(Amount::fromRaw(12345678901234500));
    EXPECT_EQ(ds.fieldByName("VALOR_NS").asDecimal().toString(), "1234567890123.45");
}

TEST_F(Fields, PostChecksRequiredFields) {
    try {
        ds.post();
        FAIL() << "posted without DOCTO_NS";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Field 'DOCTO_NS' must have a value");
    }
    EXPECT_EQ(ds.state(), DataSetState::Insert);
    ds.fieldByName("DOCTO_NS").setAsString("1");
    ds.post();
    EXPECT_EQ(ds.recordCount(), 1);
}

TEST(FieldLookup, FieldByNameNamesAMissingFieldAndFindFieldReturnsNull) {
    ClientDataSet ds("cdsPed");
    ds.addField(FieldDef("NUMNOTA", DataType::String, 6));
    ds.createDataSet();
    EXPECT_EQ(&ds.fieldByName("numnota"), ds.findField("NumNota"));
    EXPECT_EQ(ds.findField("SERIENOTA"), nullptr);
    try {
        ds.fieldByName("SERIENOTA");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("'SERIENOTA'"), std::string::npos) << e.what();
    }
}

// --- Fields from a provider -----------------------------------------------------------------

MemoryProvider NotasaiProvider() {
    MemoryProvider p;
    p.columns = {FieldDef("FILIAL_NS", DataType::Integer), FieldDef("DOCTO_NS", DataType::String, 6),
                 FieldDef::decimal("VALOR_NS", 15, 2), FieldDef("NOME_NS", DataType::String, 40),
                 FieldDef("OBS", DataType::String, 10)};
    p.columns[1].required = true;
    p.rows = {{I(1), S("000010"), D("-0.01"), S(Win1252("José Açaí")), S("x")},
              {I(2), S("000011"), D("1234567890123.45"), S("ÿ\xA0\x01z"), S("y")}};
    return p;
}

TEST(ProviderFields, WithoutFieldsInCodeEveryColumnIsAField) {
    MemoryProvider p = NotasaiProvider();
    ClientDataSet ds;
    ds.setProvider(&p);
    ds.open();
    ASSERT_EQ(ds.fieldCount(), 5);
    EXPECT_TRUE(ds.fieldByName("DOCTO_NS").required());
    EXPECT_EQ(ds.fieldByName("DOCTO_NS").size(), 6);
    EXPECT_EQ(ds.fieldByName("VALOR_NS").asDecimal().toString(), "-0.01");
    EXPECT_EQ(ds.fieldByName("NOME_NS").asString(), Win1252("José Açaí")); // bytes unchanged
    ds.next();
    EXPECT_EQ(ds.fieldByName("NOME_NS").asString(), "ÿ\xA0\x01z");
    EXPECT_EQ(ds.fieldByName("VALOR_NS").asDecimal().toString(), "1234567890123.45");
    ds.close();
    EXPECT_EQ(ds.fieldCount(), 0); // the columns' fields go with the data
}

TEST(ProviderFields, DefinedDataFieldsKeepOnlyTheirColumns) {
    MemoryProvider p = NotasaiProvider();
    ClientDataSet ds;
    ds.addField(FieldDef("docto_ns", DataType::String, 3)); // a smaller size cuts what is read
    ds.addField(FieldDef("NOME_NS", DataType::Unknown));   // type and size from the column
    ds.addField(FieldDef::calculated("GERADO", DataType::String, 1));
    ds.setProvider(&p);
    ds.open();
    ASSERT_EQ(ds.fieldCount(), 3);
    EXPECT_EQ(ds.findField("VALOR_NS"), nullptr);
    EXPECT_EQ(ds.fieldByName("DOCTO_NS").asString(), "000");
    EXPECT_EQ(ds.fieldByName("NOME_NS").dataType(), DataType::String);
    EXPECT_EQ(ds.fieldByName("NOME_NS").size(), 40);
    EXPECT_TRUE(ds.fieldByName("GERADO").isNull());
    EXPECT_TRUE(ds.fieldByName("GERADO").calculated());
}

TEST(ProviderFields, ADefinedFieldMissingFromTheDataIsAnErrorNamingIt) {
    MemoryProvider p = NotasaiProvider();
    ClientDataSet ds;
    ds.addField(FieldDef("DOCTO_NS", DataType::String, 6));
    ds.addField(FieldDef("VALOR_ITENS", DataType::Decimal));
    ds.setProvider(&p);
    try {
        ds.open();
        FAIL() << "opened without VALOR_ITENS";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("VALOR_ITENS"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(ds.active());
}

TEST(ProviderFields, OnlyCalculatedFieldsInCodeAddThemToTheColumns) {
    MemoryProvider p = NotasaiProvider();
    ClientDataSet ds("cdsNFVrDif");
    ds.addField(FieldDef::calculated("SELEC", DataType::Boolean));
    ds.setProvider(&p);
    ds.open();
    ASSERT_EQ(ds.fieldCount(), 6);
    EXPECT_EQ(ds.field(5).name(), "SELEC");
    ds.edit();
    ds.fieldByName("SELEC").setAsBoolean(true);
    ds.post();
    EXPECT_TRUE(ds.fieldByName("SELEC").asBoolean());
    EXPECT_EQ(ds.changeCount(), 0); // calculated fields are not data to apply
}

} // namespace
