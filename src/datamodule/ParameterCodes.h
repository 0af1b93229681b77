#pragma once

// The rows of TPARAMETROS that the program reads, each under a code of fixed
// meaning, with the description written in PAROBSERVACOES when the program
// creates the row. Code 1 has always been the church's name; the other data
// of the church start at 101, clear of the small codes users gave rows of
// their own. Code 109 keeps the level of the database's structure (see
// SchemaUpgrade); 110 is the church's secretary. The next free code of the
// program is 111.
namespace ParameterCode {

constexpr int ChurchName = 1;
constexpr int Cnpj = 101;
constexpr int Address = 102;
constexpr int CityState = 103;
constexpr int Treasurer = 104;
constexpr int Pastor = 105;
constexpr int FiscalCouncil1 = 106;
constexpr int FiscalCouncil2 = 107;
constexpr int FiscalCouncil3 = 108;
constexpr int SchemaLevel = 109;
constexpr int Secretary = 110;

// The codes above 1 under which the program keeps rows of its own: the
// parameters window never proposes them for a row of the user's.
constexpr bool isProgramCode(int code)
{
    return code >= Cnpj && code <= Secretary;
}

struct Description
{
    int code;
    const char *text; // UTF-8
};

// The church's data, in the order the "Dados da Igreja" window shows them.
inline constexpr Description kChurchData[] = {
    {ChurchName, "Dados da Igreja: nome da igreja"},
    {Cnpj, "Dados da Igreja: CNPJ"},
    {Address, "Dados da Igreja: endereço"},
    {CityState, "Dados da Igreja: cidade / UF"},
    {Treasurer, "Dados da Igreja: tesoureiro(a)"},
    {Pastor, "Dados da Igreja: pastor(a) ou presidente"},
    {Secretary, "Dados da Igreja: secretário(a)"},
    {FiscalCouncil1, "Dados da Igreja: conselho fiscal, 1º membro"},
    {FiscalCouncil2, "Dados da Igreja: conselho fiscal, 2º membro"},
    {FiscalCouncil3, "Dados da Igreja: conselho fiscal, 3º membro"},
};

} // namespace ParameterCode
