#include "app/FormulaMessages.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString Tr(const char* source) {
    return QCoreApplication::translate("Formula", source);
}

QString Typed(const std::string& text) {
    return QString::fromStdString(text);
}

// "позиция 3" for one character, "позиция 1–3" for more.
QString Where(const std::string& text, const TDiagnosis& d) {
    const TCharSpan span = CharacterSpan(text, d.Pos, d.Len);
    if (span.Last <= span.First) return Tr("позиция %1").arg(span.First);
    return Tr("позиция %1–%2").arg(span.First).arg(span.Last);
}

QString EmptyOperandMessage(const std::string& text, const TDiagnosis& d) {
    const QString where = Where(text, d);
    switch (d.Detail) {
    case TDiagnosisDetail::OperandBefore:
        return Tr("Перед «%1» нет операнда (%2)").arg(Typed(d.Text), where);
    case TDiagnosisDetail::OperandAfter:
        return Tr("После «%1» нет операнда (%2)").arg(Typed(d.Text), where);
    case TDiagnosisDetail::NoArgument:
        return Tr("У функции «%1» нет аргумента (%2)").arg(Typed(d.Text), where);
    default:
        return Tr("Пустые скобки (%1)").arg(where);
    }
}

QString UnknownNameMessage(const std::string& text, const TDiagnosis& d) {
    if (d.Detail == TDiagnosisDetail::ImplicitProduct) {
        const QString hint = Typed(d.Hint);
        const qsizetype star = hint.indexOf(QLatin1Char('*'));
        const bool number = !d.Text.empty() && d.Text[0] >= '0' && d.Text[0] <= '9';
        if (number && star > 0)
            return Tr("Между числом и %1 нужен знак *: %2").arg(hint.mid(star + 1), hint);
        return Tr("Между множителями нужен знак *: %1").arg(hint);
    }
    if (d.Detail == TDiagnosisDetail::FunctionName)
        return Tr("Неизвестная функция «%1» (%2)").arg(Typed(d.Text), Where(text, d));
    return Tr("Неизвестное имя «%1» (%2)").arg(Typed(d.Text), Where(text, d));
}

} // namespace

QString DiagnosisMessage(const std::string& text, const TDiagnosis& d) {
    switch (d.Kind) {
    case TDiagnosisKind::UnknownName:
        return UnknownNameMessage(text, d);
    case TDiagnosisKind::MissingBracket:
        return Tr("Не хватает «)» к скобке (%1)").arg(Where(text, d));
    case TDiagnosisKind::ExtraBracket:
        return Tr("Лишняя «)» (%1)").arg(Where(text, d));
    case TDiagnosisKind::EmptyOperand:
        return EmptyOperandMessage(text, d);
    case TDiagnosisKind::StrayCharacter:
        return Tr("Знака «%1» нет в языке формул (%2)").arg(Typed(d.Text), Where(text, d));
    case TDiagnosisKind::Space:
        return Tr("Пробел в формуле (%1): в языке формул пробелов нет").arg(Where(text, d));
    case TDiagnosisKind::Number:
        if (d.Detail == TDiagnosisDetail::Exponent)
            return Tr("Порядок через E не понимается: вместо «%1» пишите %2")
                .arg(Typed(d.Text), Typed(d.Hint));
        return Tr("Число «%1» не читается (%2)").arg(Typed(d.Text), Where(text, d));
    case TDiagnosisKind::TooDeep:
        return Tr("Слишком глубокая вложенность (%1): дальше формула считается нулём")
            .arg(Where(text, d));
    }
    return {};
}

QString DiagnosisHintText(const TDiagnosis& d) {
    if (d.Hint.empty()) return {};
    if (d.Kind == TDiagnosisKind::UnknownName && d.Detail != TDiagnosisDetail::ImplicitProduct)
        return Tr("Может быть, «%1»?").arg(Typed(d.Hint));
    if (d.Kind == TDiagnosisKind::StrayCharacter)
        return Tr("Вместо него пишут «%1».").arg(Typed(d.Hint));
    return {};
}

QString DiagnosisExplanation(const std::string& text, const std::vector<TDiagnosis>& found) {
    QStringList lines;
    for (const TDiagnosis& d : found) {
        QString line = DiagnosisMessage(text, d);
        const QString hint = DiagnosisHintText(d);
        if (!hint.isEmpty()) line += QLatin1Char(' ') + hint;
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

QString TextFaultMessage(const std::string& text, const TTextFaultInfo& fault) {
    const QString where = Typed(fault.Text);
    switch (fault.Kind) {
    case TTextFault::None:
        return {};
    case TTextFault::Unknown: {
        const std::vector<TDiagnosis> found = Diagnose(text);
        if (!found.empty()) return DiagnosisMessage(text, found.front());
        if (fault.Text.size() == 1)
            return Tr("Переменная %1 здесь не определена: значение считается только от x и f")
                .arg(where.toLower());
        return Tr("Неизвестное имя «%1»").arg(where);
    }
    case TTextFault::SquareRoot:
        return Tr("Корень из отрицательного числа: %1").arg(where);
    case TTextFault::Logarithm:
        return Tr("Логарифм числа, не большего нуля: %1").arg(where);
    case TTextFault::ArcRange:
        return Tr("Арксинус или арккосинус числа вне отрезка [-1; 1]: %1").arg(where);
    case TTextFault::DivisionByZero:
        return Tr("Деление на ноль: %1").arg(where);
    case TTextFault::ZeroPower:
        return Tr("Ноль в отрицательной степени: %1").arg(where);
    case TTextFault::NegativeBase:
        return Tr("Отрицательное число в дробной степени: %1").arg(where);
    case TTextFault::TooDeep:
        return Tr("Формула вложена слишком глубоко");
    case TTextFault::TooLong:
        return Tr("Формула слишком сложна, чтобы сосчитать её здесь");
    }
    return {};
}
