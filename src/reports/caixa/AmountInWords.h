#pragma once

#include <QString>

// An amount of money written out in Brazilian Portuguese, as on a receipt or
// a cheque: 120.5 -> "cento e vinte reais e cinquenta centavos", 1 -> "um
// real", 0.01 -> "um centavo", 1000000 -> "um milhão de reais". Rounded to
// the cent; a negative amount starts with "menos"; up to 999 trilhões.
namespace AmountInWords {

QString reais(double amount);

} // namespace AmountInWords
