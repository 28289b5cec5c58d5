#include "app/TForm4.h"

#include "app/TForm1.h"

#include <QPlainTextEdit>
#include <QStringList>

const char* const FunctionListLines[40] = {
    "ОПЕРАТОРЫ",
    "+   - сумма",
    "-    - разность",
    "*    - умножение",
    "/    - деление",
    "^    - возведение в степень",
    "",
    "ПЕРЕМЕННЫЕ И КОНСТАНТЫ",
    "x   - аргумент (в декартовых и в полярных координатах) для y(x)",
    "y   - аргумент для z(x,y)",
    "t    - переменная для параметрических функций (x(t),y(t),z(t)) ",
    "e   - число e = 2,718281828... ",
    "pi  - число pi = 3,14159265...",
    "f    - целочисленный номер кадра (для анимации)",
    "",
    "РАЗНЫЕ",
    "sqrt(x)    - корень квадратный",
    "exp(x)   - экспонента",
    "ln(x)      - натуральный логарифм",
    "lg(x)      - десятичный логарифм",
    "abs(x)   - модуль числа",
    "sign(x)  - (1 при x>0, -1 при x<0, 0 при x=0)",
    "rnd       - случайное действительное число [0..1)",
    "rand(x) - случайное натуральное число [0..x)",
    "",
    "ТРИГОНОМЕТРИЯ",
    "cos(x)    - косинус ",
    "sin(x)     - синус",
    "tg(x)      - тангенс = sin(x)/cos(x)",
    "ctg(x)    - котангенс = 1/tg(x)",
    "acos(x) - арккосинус",
    "asin(x)  - арксинус",
    "atg(x)   - арктангенс",
    "actg(x) - арккотангенс",
    "sec(x)   - секанс = 1/cos(x)",
    "csec(x) - косеканс = 1/sin(x)",
    "sh(x)     - гиперболический синус = (exp(x)-exp(-x))/2",
    "ch(x)    - гиперболический косинус = (exp(x)+exp(-x))/2",
    "th(x)     - гиперболический тангенс = sh(x)/ch(x)",
    "cth(x)   - гиперболический котангенс = 1/th(x)",
};

TForm4::TForm4() {
    setFont(WindowFont());
    setWindowTitle(QString::fromUtf8("Список используемых функций"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                   Qt::WindowTitleHint);
    setFixedSize(349, 539);
    move(412, 1);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(9, 11, 331, 517);
    Memo1->setReadOnly(true);
    QStringList lines;
    for (const char* line : FunctionListLines)
        lines << QString::fromUtf8(line);
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}
