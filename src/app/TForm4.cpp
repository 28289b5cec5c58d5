#include "app/TForm4.h"

#include "app/Fields.h"
#include "app/Translation.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QStringList>

const char* const FunctionListLines[40] = {
    QT_TRANSLATE_NOOP("TForm4", "ОПЕРАТОРЫ"),
    QT_TRANSLATE_NOOP("TForm4", "+   - сумма"),
    QT_TRANSLATE_NOOP("TForm4", "-    - разность"),
    QT_TRANSLATE_NOOP("TForm4", "*    - умножение"),
    QT_TRANSLATE_NOOP("TForm4", "/    - деление"),
    QT_TRANSLATE_NOOP("TForm4", "^    - возведение в степень"),
    "",
    QT_TRANSLATE_NOOP("TForm4", "ПЕРЕМЕННЫЕ И КОНСТАНТЫ"),
    QT_TRANSLATE_NOOP("TForm4", "x   - аргумент (в декартовых и в полярных координатах) для y(x)"),
    QT_TRANSLATE_NOOP("TForm4", "y   - аргумент для z(x,y)"),
    QT_TRANSLATE_NOOP("TForm4", "t    - переменная для параметрических функций (x(t),y(t),z(t)) "),
    QT_TRANSLATE_NOOP("TForm4", "e   - число e = 2,718281828... "),
    QT_TRANSLATE_NOOP("TForm4", "pi  - число pi = 3,14159265..."),
    QT_TRANSLATE_NOOP("TForm4", "f    - целочисленный номер кадра (для анимации)"),
    "",
    QT_TRANSLATE_NOOP("TForm4", "РАЗНЫЕ"),
    QT_TRANSLATE_NOOP("TForm4", "sqrt(x)    - корень квадратный"),
    QT_TRANSLATE_NOOP("TForm4", "exp(x)   - экспонента"),
    QT_TRANSLATE_NOOP("TForm4", "ln(x)      - натуральный логарифм"),
    QT_TRANSLATE_NOOP("TForm4", "lg(x)      - десятичный логарифм"),
    QT_TRANSLATE_NOOP("TForm4", "abs(x)   - модуль числа"),
    QT_TRANSLATE_NOOP("TForm4", "sign(x)  - (1 при x>0, -1 при x<0, 0 при x=0)"),
    QT_TRANSLATE_NOOP("TForm4", "rnd       - случайное действительное число [0..1)"),
    QT_TRANSLATE_NOOP("TForm4", "rand(x) - случайное натуральное число [0..x)"),
    "",
    QT_TRANSLATE_NOOP("TForm4", "ТРИГОНОМЕТРИЯ"),
    QT_TRANSLATE_NOOP("TForm4", "cos(x)    - косинус "),
    QT_TRANSLATE_NOOP("TForm4", "sin(x)     - синус"),
    QT_TRANSLATE_NOOP("TForm4", "tg(x)      - тангенс = sin(x)/cos(x)"),
    QT_TRANSLATE_NOOP("TForm4", "ctg(x)    - котангенс = 1/tg(x)"),
    QT_TRANSLATE_NOOP("TForm4", "acos(x) - арккосинус"),
    QT_TRANSLATE_NOOP("TForm4", "asin(x)  - арксинус"),
    QT_TRANSLATE_NOOP("TForm4", "atg(x)   - арктангенс"),
    QT_TRANSLATE_NOOP("TForm4", "actg(x) - арккотангенс"),
    QT_TRANSLATE_NOOP("TForm4", "sec(x)   - секанс = 1/cos(x)"),
    QT_TRANSLATE_NOOP("TForm4", "csec(x) - косеканс = 1/sin(x)"),
    QT_TRANSLATE_NOOP("TForm4", "sh(x)     - гиперболический синус = (exp(x)-exp(-x))/2"),
    QT_TRANSLATE_NOOP("TForm4", "ch(x)    - гиперболический косинус = (exp(x)+exp(-x))/2"),
    QT_TRANSLATE_NOOP("TForm4", "th(x)     - гиперболический тангенс = sh(x)/ch(x)"),
    QT_TRANSLATE_NOOP("TForm4", "cth(x)   - гиперболический котангенс = 1/th(x)"),
};

TForm4::TForm4() {
    setFont(WindowFont());
    SetWindowTitle(this, "TForm4", QT_TRANSLATE_NOOP("TForm4", "Список используемых функций"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                   Qt::WindowTitleHint);
    setFixedSize(349, 539);
    move(412, 1);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(9, 11, 331, 517);
    Memo1->setReadOnly(true);
    ShowLines();
}

void TForm4::ShowLines() {
    QStringList lines;
    for (const char* line : FunctionListLines)
        lines << tr(line);
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

void TForm4::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        RetranslateTree(this);
        ShowLines();
    }
    QDialog::changeEvent(event);
}
