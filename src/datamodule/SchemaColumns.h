#pragma once

// The tables and columns of LIVRO.GDB, listed once. Schema.cpp builds the
// column definitions from these lists and TDM declares its dataset chains
// and field objects (TB<stem><column>) from them. What came after the first
// level of the database (level 1: TCATEGORIA and the last three columns of
// the movements; level 2: the accounts' full name, profile, whether active,
// password hash and whether it is temporary; level 3: when and by whom a
// book was closed, and why it was last reopened; level 4: each member's
// place on the church's roll, the consent to keep their data, and TROL, the
// roll's history; level 5: the models of the church's letters and
// certificates, TMODELO, and the documents issued, TDOCUMENTO; level 6:
// the lines of bank statements imported, TEXTRATO; level 7: the day a
// member's data was anonymised at their request) is listed here too,
// marked with the level that added it (since(level, kind)); SchemaUpgrade adds it to
// a stored database, and SchemaLevels says what each level brings. The
// change log TALTERACOES is no table of DM: the database's triggers write it
// and ChangeLog reads it by query, so its structure is in ChangeLog.cpp.
//
// KELMARA_TABLES(T): T(stem, table)
// KELMARA_COLUMNS(C): C(stem, column, kind): kind is code, integer, money,
// date, blob, taxNumber or text(width), or since(level, kind) for a column
// of a later level (a table whose code column is of a later level came whole
// with that level).

#define KELMARA_TABLES(T)          \
    T(MEMBRO, TMEMBRO)             \
    T(FUNCIONARIO, TFUNCIONARIO)   \
    T(CARGO, TCARGO)               \
    T(LIVRO, TLIVRO)               \
    T(MOVIMENTACOES, TMOVIMETACOES) \
    T(USUARIO, TUSUARIO)           \
    T(EVENTO, TEVENTO)             \
    T(PARAMENTROS, TPARAMETROS)    \
    T(CATEGORIA, TCATEGORIA)       \
    T(ROL, TROL)                   \
    T(MODELO, TMODELO)             \
    T(DOCUMENTO, TDOCUMENTO)       \
    T(EXTRATO, TEXTRATO)

#define KELMARA_COLUMNS(C)                     \
    C(MEMBRO, MEMCODIGO, code)                 \
    C(MEMBRO, MEMNOME, text(50))               \
    C(MEMBRO, MEMENDERECO, text(50))           \
    C(MEMBRO, MEMTELEFONERES, text(20))        \
    C(MEMBRO, MEMTELEFONETRAB, text(20))       \
    C(MEMBRO, MEMCELULAR, text(20))            \
    C(MEMBRO, MEMDATANASC, date)               \
    C(MEMBRO, MEMDATACONVERSAO, date)          \
    C(MEMBRO, MEMCIDADE, text(40))             \
    C(MEMBRO, MEMUF, text(2))                  \
    C(MEMBRO, MEMPAISNACAO, text(50))          \
    C(MEMBRO, MEMNOMEPAI, text(50))            \
    C(MEMBRO, MEMNOMEMAE, text(50))            \
    C(MEMBRO, MEMEMAIL, text(80))              \
    C(MEMBRO, MEMFOTO, blob)                   \
    C(MEMBRO, MEMCONJUGE, text(50))            \
    C(MEMBRO, MEMIGREJA, integer)              \
    C(MEMBRO, MEMSEXO, text(10))               \
    C(MEMBRO, MEMESTADOCIVIL, text(15))        \
    C(MEMBRO, MEMRG, text(20))                 \
    C(MEMBRO, MEMCPF, taxNumber)               \
    C(MEMBRO, MEMSITUACAO, since(4, text(15)))           \
    C(MEMBRO, MEMNUMROL, since(4, integer))              \
    C(MEMBRO, MEMDATAADMISSAO, since(4, date))           \
    C(MEMBRO, MEMFORMAADMISSAO, since(4, text(15)))      \
    C(MEMBRO, MEMIGREJAORIGEM, since(4, text(50)))       \
    C(MEMBRO, MEMDATABATISMO, since(4, date))            \
    C(MEMBRO, MEMDATASAIDA, since(4, date))              \
    C(MEMBRO, MEMMOTIVOSAIDA, since(4, text(15)))        \
    C(MEMBRO, MEMIGREJADESTINO, since(4, text(50)))      \
    C(MEMBRO, MEMCONSENTIMENTO, since(4, date))          \
    C(MEMBRO, MEMFINALIDADE, since(4, text(250)))        \
    C(MEMBRO, MEMCONSENTIDOPOR, since(4, text(50)))      \
    C(MEMBRO, MEMRESPONSAVEL, since(4, text(50)))        \
    C(MEMBRO, MEMREVOGACAO, since(4, date))              \
    C(MEMBRO, MEMANONIMIZADOEM, since(7, date))          \
    C(FUNCIONARIO, FUNCODIGO, code)            \
    C(FUNCIONARIO, FUNNOME, text(50))          \
    C(FUNCIONARIO, FUNCARGO, integer)          \
    C(FUNCIONARIO, FUNENDERECO, text(50))      \
    C(FUNCIONARIO, FUNCIDADE, text(40))        \
    C(FUNCIONARIO, FUNUF, text(2))             \
    C(FUNCIONARIO, FUNPAISNACAO, text(40))     \
    C(FUNCIONARIO, FUNSALARIO, money)          \
    C(FUNCIONARIO, FUNTELEFONERES, text(20))   \
    C(FUNCIONARIO, FUNTELEFONETRAB, text(20))  \
    C(FUNCIONARIO, FUNCELULAR, text(20))       \
    C(FUNCIONARIO, FUNEMAIL, text(80))         \
    C(FUNCIONARIO, FUNFOTO, blob)              \
    C(CARGO, CARCODIGO, code)                  \
    C(CARGO, CARDESCRICAO, text(40))           \
    C(CARGO, CARSALARIO, money)                \
    C(LIVRO, LIVCODIGO, code)                  \
    C(LIVRO, LIVMES, integer)                  \
    C(LIVRO, LIVNOMEMES, text(20))             \
    C(LIVRO, LIVANO, integer)                  \
    C(LIVRO, LIVDESCRICAO, text(40))           \
    C(LIVRO, LIVOBSERVACAO, text(250))         \
    C(LIVRO, LIVSALDOANTERIOR, money)          \
    C(LIVRO, LIVSALDOATUAL, money)             \
    C(LIVRO, LIVFECHADOEM, since(3, date))               \
    C(LIVRO, LIVFECHADOPOR, since(3, text(50)))          \
    C(LIVRO, LIVREABERTURA, since(3, text(250)))         \
    C(MOVIMENTACOES, MOVCODIGO, code)          \
    C(MOVIMENTACOES, MOVDESCRICAO, text(50))   \
    C(MOVIMENTACOES, MOVLIVRO, integer)        \
    C(MOVIMENTACOES, MOVVALOR, money)          \
    C(MOVIMENTACOES, MOVDEBITOCREDITO, text(10)) \
    C(MOVIMENTACOES, MOVDATA, date)            \
    C(MOVIMENTACOES, MOVCATEGORIA, since(1, integer))    \
    C(MOVIMENTACOES, MOVMEMBRO, since(1, integer))       \
    C(MOVIMENTACOES, MOVDOCUMENTO, since(1, text(20)))   \
    C(USUARIO, USUCODIGO, code)                \
    C(USUARIO, USULOGIN, text(20))             \
    C(USUARIO, USUSENHA, text(10))             \
    C(USUARIO, USUNOME, since(2, text(50)))              \
    C(USUARIO, USUPERFIL, since(2, text(20)))            \
    C(USUARIO, USUATIVO, since(2, text(3)))              \
    C(USUARIO, USUHASH, since(2, text(128)))             \
    C(USUARIO, USUTROCARSENHA, since(2, integer))        \
    C(EVENTO, EVECODIGO, code)                 \
    C(EVENTO, EVEDESCRICAO, text(250))         \
    C(EVENTO, EVEDATA, date)                   \
    C(EVENTO, EVEHORA, integer)                \
    C(EVENTO, EVEMINUTOS, integer)             \
    C(EVENTO, EVEFUNCIONARIO, integer)         \
    C(PARAMENTROS, PARCODIGO, code)            \
    C(PARAMENTROS, PARVALOR, text(100))        \
    C(PARAMENTROS, PAROBSERVACOES, text(250))  \
    C(CATEGORIA, CATCODIGO, since(1, code))              \
    C(CATEGORIA, CATDESCRICAO, since(1, text(50)))       \
    C(CATEGORIA, CATTIPO, since(1, text(10)))            \
    C(ROL, ROLCODIGO, since(4, code))                    \
    C(ROL, ROLMEMBRO, since(4, integer))                 \
    C(ROL, ROLDATA, since(4, date))                      \
    C(ROL, ROLDESCRICAO, since(4, text(100)))            \
    C(ROL, ROLREFERENCIA, since(4, text(60)))            \
    C(ROL, ROLOBSERVACAO, since(4, text(250)))           \
    C(MODELO, MODCODIGO, since(5, code))                 \
    C(MODELO, MODTIPO, since(5, text(40)))               \
    C(MODELO, MODTEXTO, since(5, text(3000)))            \
    C(DOCUMENTO, DOCCODIGO, since(5, code))              \
    C(DOCUMENTO, DOCMEMBRO, since(5, integer))           \
    C(DOCUMENTO, DOCTIPO, since(5, text(40)))            \
    C(DOCUMENTO, DOCANO, since(5, integer))              \
    C(DOCUMENTO, DOCNUMERO, since(5, integer))           \
    C(DOCUMENTO, DOCDATA, since(5, date))                \
    C(DOCUMENTO, DOCDETALHES, since(5, text(250)))       \
    C(EXTRATO, EXTCODIGO, since(6, code))                \
    C(EXTRATO, EXTCONTA, since(6, text(60)))             \
    C(EXTRATO, EXTIDENTIDADE, since(6, text(200)))       \
    C(EXTRATO, EXTDATA, since(6, date))                  \
    C(EXTRATO, EXTVALOR, since(6, money))                \
    C(EXTRATO, EXTDESCRICAO, since(6, text(100)))        \
    C(EXTRATO, EXTSITUACAO, since(6, text(15)))          \
    C(EXTRATO, EXTMOVIMENTO, since(6, integer))
