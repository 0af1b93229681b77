#include "UFMovimentoRol.h"

#include "URMovimentoRol.h"

TFFMovimentoRol *FFMovimentoRol = nullptr;

TFFMovimentoRol::TFFMovimentoRol(QWidget *owner)
    : YearFilter(owner, QStringLiteral("FFMovimentoRol"), TFRMovimentoRol::kTitle)
{
}

void TFFMovimentoRol::generate(int year)
{
    auto *report = new TFRMovimentoRol(this);
    report->setYear(year);
    report->preview();
}
