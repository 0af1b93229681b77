#include "UFLivroAnual.h"

#include "URLivroAnual.h"

TFFLivroAnual *FFLivroAnual = nullptr;

TFFLivroAnual::TFFLivroAnual(QWidget *owner)
    : CashYearFilter(owner, QStringLiteral("FFLivroAnual"), QStringLiteral("Livro Caixa Anual"))
{
}

void TFFLivroAnual::generate(int year)
{
    auto *report = new TFRLivroAnual(this);
    report->setYear(year);
    report->preview();
}
