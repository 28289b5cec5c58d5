<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Analysis</name>
    <message>
        <source>Площадь не считается: интеграл не сходится на этом отрезке.</source>
        <translation>No area: the integral does not converge on this interval.</translation>
    </message>
    <message>
        <source>Площадь не считается: функция не определена при x = %1.</source>
        <translation>No area: the function is undefined at x = %1.</translation>
    </message>
    <message>
        <source>Площадь бесконечна: график проходит через полюс около x = %1.</source>
        <translation>The area is infinite: the graph passes a pole near x = %1.</translation>
    </message>
    <message>
        <source>Площадь не считается: формула графика берёт случайные числа.</source>
        <translation>No area: the graph&apos;s formula draws random numbers.</translation>
    </message>
    <message>
        <source>Площадь не считается: значение функции при x = %1 больше самого большого числа (переполнение).</source>
        <translation>No area: the function&apos;s value at x = %1 is beyond the largest number (an overflow).</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>нет папки «%1»</source>
        <translation>there is no folder “%1”</translation>
    </message>
    <message>
        <source>такого файла нет</source>
        <translation>there is no such file</translation>
    </message>
    <message>
        <source>нет права записывать его или в его папку</source>
        <translation>there is no permission to write it or into its folder</translation>
    </message>
    <message>
        <source>нет права его читать</source>
        <translation>there is no permission to read it</translation>
    </message>
    <message>
        <source>диск только для чтения</source>
        <translation>the disk is read-only</translation>
    </message>
    <message>
        <source>на диске нет места</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>это папка</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>это не обычный файл, а канал или устройство</source>
        <translation>it is no regular file but a pipe or a device</translation>
    </message>
    <message>
        <source>имя слишком длинное</source>
        <translation>the name is too long</translation>
    </message>
    <message>
        <source>в пути к нему есть файл, а не папка</source>
        <translation>its path goes through a file, not a folder</translation>
    </message>
    <message>
        <source>ссылки на него замыкаются в круг</source>
        <translation>its links go round in a circle</translation>
    </message>
    <message>
        <source>Файл «%1» не записан: %2 (%3).</source>
        <translation>The file “%1” was not written: %2 (%3).</translation>
    </message>
    <message>
        <source>Файл «%1» не прочитан: %2 (%3).</source>
        <translation>The file “%1” was not read: %2 (%3).</translation>
    </message>
</context>
<context>
    <name>Builders</name>
    <message>
        <source>Максимум диапазона меньше минимума: построить нечего. Поменяйте местами min и max.</source>
        <translation>The maximum of the range is below the minimum: nothing to build. Swap min and max.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>--%1 работает с одним файлом графиков.</source>
        <translation>--%1 works with one plot file.</translation>
    </message>
    <message>
        <source>Файл «%1» пуст: в нём нет графиков.</source>
        <translation>The file “%1” is empty: it holds no plots.</translation>
    </message>
    <message>
        <source>В файле нет формул этого режима: рисовать нечего.</source>
        <translation>The file has no formulas for this mode: nothing to draw.</translation>
    </message>
    <message>
        <source>--size ждёт ширину и высоту, например 800x800 (от 16 до 16384).</source>
        <translation>--size expects a width and a height, for example 800x800 (16 to 16384).</translation>
    </message>
    <message>
        <source>--seed ждёт целое неотрицательное число.</source>
        <translation>--seed expects a non-negative whole number.</translation>
    </message>
    <message>
        <source>--%1: «%2» не число и не формула числа.</source>
        <translation>--%1: “%2” is neither a number nor a formula of a number.</translation>
    </message>
    <message>
        <source>Файл «%1» — не график y(x) в декартовых координатах: особые точки и площади считаются только для него.</source>
        <translation>The file “%1” is not a cartesian y(x) plot: points of interest and areas are found only for one.</translation>
    </message>
    <message>
        <source>В файле нет формулы y(x): искать нечего.</source>
        <translation>The file has no y(x) formula: nothing to search.</translation>
    </message>
    <message>
        <source>--integrate ждёт A B FILE.mth: два конца и файл (отрицательный конец — после --).</source>
        <translation>--integrate expects A B FILE.mth: two ends and a file (a negative end goes after --).</translation>
    </message>
    <message>
        <source>График %1: %2</source>
        <translation>Graph %1: %2</translation>
    </message>
    <message>
        <source>Ни одной площади не сосчитать.</source>
        <translation>No area could be computed.</translation>
    </message>
    <message>
        <source>Показать эту справку и выйти.</source>
        <translation>Show this help and exit.</translation>
    </message>
    <message>
        <source>Показать версию и выйти.</source>
        <translation>Show the version and exit.</translation>
    </message>
    <message>
        <source>Записать рисунок файла графиков в OUT и выйти, без окон. Формат — по расширению: png, svg, pdf (2D); png, stl, obj, ply (3D).</source>
        <translation>Write the picture of the plot file to OUT and exit, without windows. The format follows the extension: png, svg, pdf (2D); png, stl, obj, ply (3D).</translation>
    </message>
    <message>
        <source>Начало случайных цветов 3D (с --export), чтобы рисунки повторялись.</source>
        <translation>Seed of the random 3D colours (with --export), so that pictures repeat.</translation>
    </message>
    <message>
        <source>Начало отрезка для --analyse (по умолчанию — вид файла).</source>
        <translation>Start of the interval for --analyse (by default the file&apos;s view).</translation>
    </message>
    <message>
        <source>Конец отрезка для --analyse.</source>
        <translation>End of the interval for --analyse.</translation>
    </message>
    <message>
        <source>Графики функций: графики на плоскости и в пространстве по формулам.</source>
        <translation>Function Plotter: plots in the plane and in space from formulas.</translation>
    </message>
    <message>
        <source>Файл графиков, который открыть.</source>
        <translation>The plot file to open.</translation>
    </message>
    <message>
        <source>Можно открыть только один файл.</source>
        <translation>Only one file can be opened.</translation>
    </message>
    <message>
        <source>Напечатать площадь каждого графика y(x) от A до B: --integrate A B FILE.mth (&quot;graph&quot; — номер графика, как у --analyse).</source>
        <translation>Print the area of each y(x) graph from A to B: --integrate A B FILE.mth (&quot;graph&quot; is the graph&apos;s number, as with --analyse).</translation>
    </message>
    <message>
        <source>Файл «%1»: %2</source>
        <translation>The file “%1”: %2</translation>
    </message>
    <message>
        <source>Поверхность F(x,y,z)=0 не строится: это %1 вычислений формулы, а можно не больше %2. Увеличьте шаги или задайте --max-points.</source>
        <translation>The surface F(x,y,z)=0 is not built: it takes %1 evaluations of the formula, and at most %2 are allowed. Make the steps larger or give --max-points.</translation>
    </message>
    <message>
        <source>Файл не записан: найдены не все точки (--allow-partial запишет найденные).</source>
        <translation>The file was not written: not every point was found (--allow-partial writes those found).</translation>
    </message>
    <message>
        <source>Записаны точки, найденные до этого.</source>
        <translation>The points found until then were written.</translation>
    </message>
    <message>
        <source>--max-points ждёт число больше нуля.</source>
        <translation>--max-points expects a number above zero.</translation>
    </message>
    <message>
        <source>Рисунок не записан: «%1» — это файл графиков, из которого он рисуется. Дайте рисунку другое имя.</source>
        <translation>The picture was not written: “%1” is the plot file it is drawn from. Give the picture another name.</translation>
    </message>
    <message>
        <source>Предел вычислений формулы для поверхности F(x,y,z)=0 (с --export): сколько раз формула считается во всех плоскостях по обеим сеткам линий. По умолчанию 1e9, около десяти секунд работы; за пределом построение не начинается.</source>
        <translation>The bound on the evaluations of the formula of a surface F(x,y,z)=0 (with --export): how many times the formula is computed in all planes along both grids of lines. 1e9 by default, about ten seconds of work; beyond it the build does not start.</translation>
    </message>
    <message>
        <source>Записать поверхность F(x,y,z)=0, даже если точек больше, чем можно хранить (с --export): записываются найденные до предела, и об этом говорится. Без этого ключа такой файл не записывается.</source>
        <translation>Write a surface F(x,y,z)=0 even when it has more points than can be kept (with --export): those found up to the bound are written, and this is said. Without this option such a file is not written.</translation>
    </message>
    <message>
        <source>Ключи --%1 и --%2 не даются вместе: за один запуск выполняется одна команда.</source>
        <translation>The options --%1 and --%2 are not given together: one run carries out one command.</translation>
    </message>
    <message>
        <source>Проверить формулу: напечатать строками JSON места, которых не понимает компилятор ({&quot;pos&quot;, &quot;len&quot;, &quot;count&quot;, &quot;kind&quot;, &quot;message&quot;, &quot;hint&quot;}; pos — номер символа с 1, count — сколько одинаковых мест подряд), и выйти с 0, если таких мест нет, и с 1, если есть.</source>
        <translation>Check a formula: print as JSON lines the places the compiler does not understand ({&quot;pos&quot;, &quot;len&quot;, &quot;count&quot;, &quot;kind&quot;, &quot;message&quot;, &quot;hint&quot;}; pos counts characters from 1, count is how many like places follow in a row), and exit with 0 when there are none and with 1 when there are.</translation>
    </message>
    <message>
        <source>Найдены не все точки: их больше %1, или отрезок шире, чем позволяют выборки в пиксель, или график без конца меняет знак. Показаны не все.</source>
        <translation>Not every point was found: there are more than %1, or the interval is wider than samples a pixel apart allow, or the graph changes sign without end. Not all are shown.</translation>
    </message>
    <message>
        <source>Графиков в списке %1: рисуются и считаются первые %2.</source>
        <translation>The list holds %1 graphs: the first %2 are drawn and counted.</translation>
    </message>
    <message>
        <source>Формат файла «%1» не известен: расширение — png, svg, pdf, stl, obj, ply или mthx (документ).</source>
        <translation>The format of the file “%1” is unknown: the extension is png, svg, pdf, stl, obj, ply or mthx (a document).</translation>
    </message>
    <message>
        <source>Размер рисунка PNG, ширина x высота (с --export; по умолчанию 400x400).</source>
        <translation>The PNG&apos;s size, width x height (with --export; 400x400 when not given).</translation>
    </message>
    <message>
        <source>Задать параметр формул на этот запуск (с --export, --analyse, --integrate и --check): число или формула параметров до него; можно повторять.</source>
        <translation>Set a parameter of the formulas for this run (with --export, --analyse, --integrate and --check): a number or a formula of the parameters before it; may be repeated.</translation>
    </message>
    <message>
        <source>--time: секунды должны быть больше нуля и не больше суток.</source>
        <translation>--time: the seconds must be above zero and at most a day.</translation>
    </message>
    <message>
        <source>Сколько секунд доказывать отношения (с --export; по умолчанию 10): что не доказано к этому сроку, записывается бледным.</source>
        <translation>How many seconds to prove relations for (with --export; 10 by default): what is not proven by then is written pale.</translation>
    </message>
    <message>
        <source>График %1 — отношение «%2»: его точки и площади пока не ищутся.</source>
        <translation>Graph %1 is the relation «%2»: its points and areas are not searched yet.</translation>
    </message>
    <message>
        <source>Напечатать производную формулы по x формулой того же языка и выйти.</source>
        <translation>Print the derivative of the formula with respect to x as a formula of the same language and exit.</translation>
    </message>
    <message>
        <source>Переменная производной для --derive: x (по умолчанию), y, z, t, u или v.</source>
        <translation>The variable of the derivative for --derive: x (the default), y, z, t, u or v.</translation>
    </message>
    <message>
        <source>--var ждёт одну из переменных x, y, z, t, u, v.</source>
        <translation>--var expects one of the variables x, y, z, t, u, v.</translation>
    </message>
    <message>
        <source>Формула пуста.</source>
        <translation>The formula is empty.</translation>
    </message>
    <message>
        <source>Напечатать особые точки графиков y(x) файла (корни, экстремумы, точки перегиба, пересечения, пересечения с осью y) строками JSON и выйти. &quot;graph&quot; — номер графика, как в окне: 0 — формула в поле, 1–10 — номер в списке.</source>
        <translation>Print the points of interest of the file&apos;s y(x) graphs (roots, extrema, inflection points, intersections, y-axis crossings) as JSON lines and exit. &quot;graph&quot; is the graph&apos;s number as the window shows it: 0 for the formula box, 1–10 for its place in the list.</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>Графики функций</source>
        <translation>Function Plotter</translation>
    </message>
    <message>
        <source>Сохранить изменения в «%1»?</source>
        <translation>Save the changes to “%1”?</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Не сохранять</source>
        <translation>Don&apos;t save</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Экспорт рисунка</source>
        <translation>Export picture</translation>
    </message>
    <message>
        <source>Файл графиков (*.mth)</source>
        <translation>Plot file (*.mth)</translation>
    </message>
    <message>
        <source>Документ со стилями и всеми графиками (*.mthx)</source>
        <translation>Document with styles and every graph (*.mthx)</translation>
    </message>
    <message>
        <source>Файлы графиков (*.mth *.mthx)</source>
        <translation>Plot files (*.mth *.mthx)</translation>
    </message>
</context>
<context>
    <name>DocumentFile</name>
    <message>
        <source>значение «%1» должно быть %2</source>
        <translation>the value “%1” must be %2</translation>
    </message>
    <message>
        <source>строкой</source>
        <translation>a string</translation>
    </message>
    <message>
        <source>true или false</source>
        <translation>true or false</translation>
    </message>
    <message>
        <source>числом</source>
        <translation>a number</translation>
    </message>
    <message>
        <source>целым числом от %1 до %2</source>
        <translation>a whole number from %1 to %2</translation>
    </message>
    <message>
        <source>объектом</source>
        <translation>an object</translation>
    </message>
    <message>
        <source>массивом</source>
        <translation>an array</translation>
    </message>
    <message>
        <source>одним из: %1</source>
        <translation>one of: %1</translation>
    </message>
    <message>
        <source>цветом вида &quot;#rrggbb&quot;</source>
        <translation>a colour of the form &quot;#rrggbb&quot;</translation>
    </message>
    <message>
        <source>графики %1–%2</source>
        <translation>graphs %1–%2</translation>
    </message>
    <message>
        <source>стиль графика %1</source>
        <translation>the style of graph %1</translation>
    </message>
    <message>
        <source>легенда</source>
        <translation>the legend</translation>
    </message>
    <message>
        <source>параметры</source>
        <translation>the parameters</translation>
    </message>
    <message>
        <source>он больше %1 МБ</source>
        <translation>it is larger than %1 MB</translation>
    </message>
    <message>
        <source>вложенность в нём глубже %1</source>
        <translation>it is nested deeper than %1</translation>
    </message>
    <message>
        <source>в нём не JSON (ошибка у байта %1)</source>
        <translation>it is not JSON (an error at byte %1)</translation>
    </message>
    <message>
        <source>в нём не JSON, который можно прочесть</source>
        <translation>it is not JSON that can be read</translation>
    </message>
    <message>
        <source>это не документ программы: в нём нет &quot;format&quot;: &quot;plotter-document&quot;</source>
        <translation>it is not a document of the program: it has no &quot;format&quot;: &quot;plotter-document&quot;</translation>
    </message>
    <message>
        <source>он записан более новой программой: версия документа %1, а эта программа читает версию %2</source>
        <translation>it was written by a newer program: the document&apos;s version is %1, and this program reads version %2</translation>
    </message>
    <message>
        <source>целым числом от 1</source>
        <translation>a whole number from 1</translation>
    </message>
    <message>
        <source>режимом</source>
        <translation>a mode</translation>
    </message>
    <message>
        <source>массивом из трёх true или false</source>
        <translation>an array of three true or false</translation>
    </message>
    <message>
        <source>массивом из 11 цветов</source>
        <translation>an array of 11 colours</translation>
    </message>
    <message>
        <source>Файл «%1» не открыт: %2. Всё осталось как было.</source>
        <translation>The file “%1” was not opened: %2. Everything stays as it was.</translation>
    </message>
    <message>
        <source>его нет</source>
        <translation>it does not exist</translation>
    </message>
    <message>
        <source>это не обычный файл</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>его не прочесть</source>
        <translation>it cannot be read</translation>
    </message>
    <message>
        <source>стиль графиков %1</source>
        <translation>the styles of graphs %1</translation>
    </message>
    <message>
        <source>именем параметра: латинские буквы и цифры, первой — буква, не больше 32</source>
        <translation>a parameter&apos;s name: Latin letters and digits, a letter first, at most 32</translation>
    </message>
    <message>
        <source>числом больше &quot;min&quot;</source>
        <translation>a number above &quot;min&quot;</translation>
    </message>
    <message>
        <source>числом больше 0</source>
        <translation>a number above 0</translation>
    </message>
    <message>
        <source>именем, которого нет у параметров до него</source>
        <translation>a name that no parameter before it has</translation>
    </message>
    <message>
        <source>точный рисунок графиков</source>
        <translation>exact graphs</translation>
    </message>
    <message>
        <source>числом 1 или 2</source>
        <translation>the number 1 or 2</translation>
    </message>
    <message>
        <source>конечным числом</source>
        <translation>a finite number</translation>
    </message>
    <message>
        <source>производные и первообразные</source>
        <translation>derivatives and antiderivatives</translation>
    </message>
</context>
<context>
    <name>Engine</name>
    <message>
        <source>Идёт построение: дождитесь его конца или нажмите «Отмена».</source>
        <translation>A build is running: wait for its end or press “Cancel”.</translation>
    </message>
    <message>
        <source>У формулы нет производной: в ней случайные числа (RAND).</source>
        <translation>The formula has no derivative: it draws random numbers (RAND).</translation>
    </message>
    <message>
        <source>Производная слишком длинна, чтобы её строить: в формуле слишком много множителей.</source>
        <translation>The derivative is too long to make: the formula has too many factors.</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>без режима</source>
        <translation>no mode</translation>
    </message>
    <message>
        <source>SVG, векторный рисунок</source>
        <translation>SVG, vector picture</translation>
    </message>
    <message>
        <source>PDF, одна страница</source>
        <translation>PDF, one page</translation>
    </message>
    <message>
        <source>STL, треугольники для 3D-печати</source>
        <translation>STL, triangles for 3D printing</translation>
    </message>
    <message>
        <source>PLY, точки с цветом</source>
        <translation>PLY, coloured points</translation>
    </message>
    <message>
        <source>OBJ, линия с цветом</source>
        <translation>OBJ, coloured line</translation>
    </message>
    <message>
        <source>OBJ, треугольники с цветом</source>
        <translation>OBJ, coloured triangles</translation>
    </message>
    <message>
        <source> или </source>
        <translation> or </translation>
    </message>
    <message>
        <source>Рисунок режима %1 нечего сохранять, а не как %2.</source>
        <translation>The picture of the mode %1 has nothing to save, not even as %2.</translation>
    </message>
    <message>
        <source>Рисунок режима %1 сохраняется как %2, а не как %3.</source>
        <translation>The picture of the mode %1 is saved as %2, not as %3.</translation>
    </message>
    <message>
        <source>Файл «%1» не записан: у поверхности нет ни одной клетки, которую можно нарисовать (все точки вне области определения формул, бесконечны или совпадают).</source>
        <translation>The file “%1” was not written: the surface has no cell that can be drawn (every point lies outside the formulas&apos; domain, is infinite or coincides with the others).</translation>
    </message>
    <message>
        <source>Файл «%1» не записан: у линии нет ни одного отрезка, который можно нарисовать (её точки вне области определения, бесконечны или все в одном месте).</source>
        <translation>The file “%1” was not written: the curve has no segment that can be drawn (its points lie outside the domain, are infinite or all in one place).</translation>
    </message>
    <message>
        <source>Файл «%1» не записан: точек поверхности не найдено.</source>
        <translation>The file “%1” was not written: no point of the surface was found.</translation>
    </message>
</context>
<context>
    <name>Export2D</name>
    <message>
        <source>Графики функций</source>
        <translation>Function Plotter</translation>
    </message>
</context>
<context>
    <name>FieldEdits</name>
    <message>
        <source>у формулы нет производной при x = %1.</source>
        <translation>the formula has no derivative at x = %1.</translation>
    </message>
    <message>
        <source>«%1» — отношение, а не график y(x): у него нет производной.</source>
        <translation>«%1» is a relation, not a graph y(x): it has no derivative.</translation>
    </message>
    <message>
        <source>формула пуста.</source>
        <translation>the formula is empty.</translation>
    </message>
</context>
<context>
    <name>FrameAnimation</name>
    <message>
        <source> Кадр %1</source>
        <translation> Frame %1</translation>
    </message>
</context>
<context>
    <name>FrameImage</name>
    <message>
        <source>Рисунок 3D рисует OpenGL, а его здесь нет: нужен экран X (например, xvfb-run) или EGL.</source>
        <translation>3D pictures are drawn by OpenGL, which is not available here: an X display (for example xvfb-run) or EGL is needed.</translation>
    </message>
</context>
<context>
    <name>Limits</name>
    <message>
        <source>%1 (%2) слишком мал для чисел около %3: прибавление шага их не меняет, и построение не кончилось бы. Увеличьте шаг или возьмите диапазон ближе к нулю.</source>
        <translation>%1 (%2) is too small for numbers near %3: adding the step does not change them, and the build would never end. Increase the step or take a range closer to zero.</translation>
    </message>
    <message>
        <source>Слишком много точек: %1 (можно не больше %2). Увеличьте шаг или сузьте диапазон.</source>
        <translation>Too many points: %1 (at most %2). Increase the step or narrow the range.</translation>
    </message>
    <message>
        <source>бесконечно много</source>
        <translation>infinitely many</translation>
    </message>
    <message>
        <source>Рисунок %1 × %2 не сделать: на него не хватает памяти. Возьмите размер меньше.</source>
        <translation>A picture of %1 × %2 cannot be made: there is not enough memory for it. Choose a smaller size.</translation>
    </message>
</context>
<context>
    <name>ModeLayout</name>
    <message>
        <source>Шаг</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Шаг (X)</source>
        <translation>Step (X)</translation>
    </message>
    <message>
        <source>Шаг (Y)</source>
        <translation>Step (Y)</translation>
    </message>
    <message>
        <source>шаг1 (X)</source>
        <translation>step1 (X)</translation>
    </message>
    <message>
        <source>шаг2 (X)</source>
        <translation>step2 (X)</translation>
    </message>
    <message>
        <source>шаг1 (Y)</source>
        <translation>step1 (Y)</translation>
    </message>
    <message>
        <source>шаг2 (Y)</source>
        <translation>step2 (Y)</translation>
    </message>
    <message>
        <source>шаг1 (Z)</source>
        <translation>step1 (Z)</translation>
    </message>
    <message>
        <source>шаг2 (Z)</source>
        <translation>step2 (Z)</translation>
    </message>
    <message>
        <source>Шаг (U)</source>
        <translation>Step (U)</translation>
    </message>
    <message>
        <source>Шаг (V)</source>
        <translation>Step (V)</translation>
    </message>
    <message>
        <source>Формула y=</source>
        <translation>Formula y=</translation>
    </message>
    <message>
        <source>Формула z=</source>
        <translation>Formula z=</translation>
    </message>
    <message>
        <source>Формула r=</source>
        <translation>Formula r=</translation>
    </message>
    <message>
        <source>%1, режим %2</source>
        <translation>%1, mode %2</translation>
    </message>
</context>
<context>
    <name>Parameters</name>
    <message>
        <source>«%1» не имя параметра: латинские буквы и цифры, первой — буква, не больше 32.</source>
        <translation>&quot;%1&quot; is no parameter&apos;s name: Latin letters and digits, a letter first, at most 32.</translation>
    </message>
    <message>
        <source>«%1» — имя, которое формулы уже читают иначе: параметром оно быть не может.</source>
        <translation>&quot;%1&quot; is a name the formulas already read otherwise: it cannot be a parameter.</translation>
    </message>
    <message>
        <source>Параметр «%1» уже есть.</source>
        <translation>The parameter &quot;%1&quot; is there already.</translation>
    </message>
    <message>
        <source>--set ждёт ИМЯ=ЗНАЧЕНИЕ, например a=2.</source>
        <translation>--set expects NAME=VALUE, for example a=2.</translation>
    </message>
    <message>
        <source>--set %1: «%2» не число и не формула других параметров.</source>
        <translation>--set %1: &quot;%2&quot; is neither a number nor a formula of other parameters.</translation>
    </message>
</context>
<context>
    <name>Picture</name>
    <message>
        <source>Первообразная ∫f обрывается при x = %1: функция там не определена.</source>
        <translation>The antiderivative ∫f stops at x = %1: the function is not defined there.</translation>
    </message>
    <message>
        <source>Первообразная ∫f обрывается при x = %1: у функции там полюс.</source>
        <translation>The antiderivative ∫f stops at x = %1: the function has a pole there.</translation>
    </message>
</context>
<context>
    <name>PlotFile</name>
    <message>
        <source>его длина %1 байт, а у файла графиков %2</source>
        <translation>its length is %1 bytes, and a plot file&apos;s is %2</translation>
    </message>
    <message>
        <source>код режима в нём не от 1 до 6</source>
        <translation>its mode code is not from 1 to 6</translation>
    </message>
    <message>
        <source>длина строки в нём больше 100 символов</source>
        <translation>a text in it is longer than 100 characters</translation>
    </message>
    <message>
        <source>Файл «%1» не открыт: это не файл графиков (%2). Всё осталось как было.</source>
        <translation>The file “%1” was not opened: it is not a plot file (%2). Everything stays as it was.</translation>
    </message>
    <message>
        <source>это не обычный файл, а папка, канал или устройство</source>
        <translation>it is not a regular file but a folder, a pipe or a device</translation>
    </message>
    <message>
        <source>В файле были значения, которые не являются числами; вместо них взяты значения по умолчанию.</source>
        <translation>The file held values that are not numbers; the default values were taken instead.</translation>
    </message>
    <message>
        <source>Файл «%1» не прочитан: он короче записи графиков в 2680 байт (Read beyond end of file).</source>
        <translation>The file “%1” was not read: it is shorter than a plot record of 2680 bytes (Read beyond end of file).</translation>
    </message>
</context>
<context>
    <name>Steps</name>
    <message>
        <source>Шаг по оси X</source>
        <translation>The step along X</translation>
    </message>
    <message>
        <source>Шаг по оси Y</source>
        <translation>The step along Y</translation>
    </message>
    <message>
        <source>Шаг по t</source>
        <translation>The step in t</translation>
    </message>
    <message>
        <source>Шаг по u</source>
        <translation>The step in u</translation>
    </message>
    <message>
        <source>Шаг по v</source>
        <translation>The step in v</translation>
    </message>
    <message>
        <source>%1 по оси %2</source>
        <translation>%1 along %2</translation>
    </message>
    <message>
        <source>%1 должен быть больше нуля: иначе построение не кончится.</source>
        <translation>%1 must be greater than zero: otherwise the build never ends.</translation>
    </message>
    <message>
        <source>Шаг2</source>
        <translation>Step2</translation>
    </message>
    <message>
        <source>Шаг1</source>
        <translation>Step1</translation>
    </message>
    <message>
        <source>Шаг по углу</source>
        <translation>The step in angle</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Формула y=</source>
        <translation>Formula y=</translation>
    </message>
    <message>
        <source>Шаг</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>шаг1</source>
        <translation>step1</translation>
    </message>
    <message>
        <source>между точками линии уровня</source>
        <translation>between the points of a level line</translation>
    </message>
    <message>
        <source>шаг2</source>
        <translation>step2</translation>
    </message>
    <message>
        <source>между линиями уровня</source>
        <translation>between level lines</translation>
    </message>
    <message>
        <source>Все</source>
        <translation>All</translation>
    </message>
    <message>
        <source>добавить</source>
        <translation>add</translation>
    </message>
    <message>
        <source>удалить</source>
        <translation>delete</translation>
    </message>
    <message>
        <source>очистить</source>
        <translation>clear</translation>
    </message>
    <message>
        <source>Минимальный шаг</source>
        <translation>Minimal step</translation>
    </message>
    <message>
        <source>Построить график</source>
        <translation>Plot graph</translation>
    </message>
    <message>
        <source>Построить 3D кривую</source>
        <translation>Build 3D curve</translation>
    </message>
    <message>
        <source>Построить поверхность</source>
        <translation>Build surface</translation>
    </message>
    <message>
        <source>декарт</source>
        <translation>cartes.</translation>
    </message>
    <message>
        <source>поляр</source>
        <translation>polar</translation>
    </message>
    <message>
        <source>траектория камеры</source>
        <translation>camera path</translation>
    </message>
    <message>
        <source>поместить камеру на траекторию x(t),y(t),z(t)</source>
        <translation>put the camera on the path x(t),y(t),z(t)</translation>
    </message>
    <message>
        <source>линии уровня перпендикулярно оси X</source>
        <translation>level lines perpendicular to the X axis</translation>
    </message>
    <message>
        <source>линии уровня перпендикулярно оси Y</source>
        <translation>level lines perpendicular to the Y axis</translation>
    </message>
    <message>
        <source>линии уровня перпендикулярно оси Z</source>
        <translation>level lines perpendicular to the Z axis</translation>
    </message>
    <message>
        <source>Центрировать</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>Равные масштабы</source>
        <translation>Equal scales</translation>
    </message>
    <message>
        <source>Вспомогательная сетка</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Создать</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Последние файлы</source>
        <translation>Recent files</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Сохранить в открытый файл</source>
        <translation>Save to the open file</translation>
    </message>
    <message>
        <source>Сохранить как…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>Экспорт рисунка…</source>
        <translation>Export picture…</translation>
    </message>
    <message>
        <source>Печать…</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>Копировать рисунок</source>
        <translation>Copy picture</translation>
    </message>
    <message>
        <source>Опции</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Настроить анимацию</source>
        <translation>Set up animation</translation>
    </message>
    <message>
        <source>Анимация (вкл/выкл)</source>
        <translation>Animation (on/off)</translation>
    </message>
    <message>
        <source>Цвета</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>Рисовать оси координат</source>
        <translation>Draw coordinate axes</translation>
    </message>
    <message>
        <source>Параметрические уравнения</source>
        <translation>Parametric equations</translation>
    </message>
    <message>
        <source>Генерировать случайную функцию</source>
        <translation>Generate a random function</translation>
    </message>
    <message>
        <source>Анализ</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>Трассировка</source>
        <translation>Trace</translation>
    </message>
    <message>
        <source>Особые точки</source>
        <translation>Points of interest</translation>
    </message>
    <message>
        <source>Найти…</source>
        <translation>Find…</translation>
    </message>
    <message>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Список функций</source>
        <translation>Function list</translation>
    </message>
    <message>
        <source>Руководство</source>
        <translation>User guide</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Графики функций</source>
        <translation>Function Plotter</translation>
    </message>
    <message>
        <source>Показаны точки, найденные до этого.</source>
        <translation>The points found so far are shown.</translation>
    </message>
    <message>
        <source>Случайная функция строится в режиме 3D z(x,y): выберите его в меню «Опции» и нажмите F12 ещё раз.</source>
        <translation>A random function is built in the 3D z(x,y) mode: choose it in the “Options” menu and press F12 again.</translation>
    </message>
    <message>
        <source>Без имени</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>Очистить список</source>
        <translation>Clear the list</translation>
    </message>
    <message>
        <source>&lt;b&gt;Графики функций&lt;/b&gt;, версия %1&lt;br&gt;&lt;br&gt;Графики функций на плоскости и в пространстве по формулам: y(x), r(fi), x(t),y(t), z(x,y), F(x,y,z)=0, x(t),y(t),z(t) и x(u,v),y(u,v),z(u,v).&lt;br&gt;&lt;br&gt;Лицензия: все права принадлежат авторам программы (LicenseRef-proprietary).&lt;br&gt;&lt;br&gt;Файл графиков (.mth) — одна запись из 2680 байт: формулы и числа всех режимов, режим, список формул y(x) и кадры анимации; текст в кодировке Windows-1251.</source>
        <translation>&lt;b&gt;Function Plotter&lt;/b&gt;, version %1&lt;br&gt;&lt;br&gt;Plots of functions in the plane and in space from formulas: y(x), r(fi), x(t),y(t), z(x,y), F(x,y,z)=0, x(t),y(t),z(t) and x(u,v),y(u,v),z(u,v).&lt;br&gt;&lt;br&gt;Licence: all rights reserved by the authors of the program (LicenseRef-proprietary).&lt;br&gt;&lt;br&gt;A plot file (.mth) is one record of 2680 bytes: the formulas and numbers of all modes, the mode, the list of y(x) formulas and the animation frames; its text is in the Windows-1251 encoding.</translation>
    </message>
    <message>
        <source>Рисунка нет: сначала выберите режим в меню «Опции».</source>
        <translation>There is no picture: first choose a mode in the “Options” menu.</translation>
    </message>
    <message>
        <source>%1 Error! — %2</source>
        <translation>%1 Error! — %2</translation>
    </message>
    <message>
        <source>Такой файл уже существует! Заменить его?</source>
        <translation>This file already exists! Replace it?</translation>
    </message>
    <message>
        <source>Предупреждение!</source>
        <translation>Warning!</translation>
    </message>
    <message>
        <source>Формула %1 списка</source>
        <translation>Formula %1 of the list</translation>
    </message>
    <message>
        <source>Оставлен прежний вид.</source>
        <translation>The previous view was kept.</translation>
    </message>
    <message>
        <source>Руководство не найдено: оно ставится вместе с программой в share/doc/function-plotter/guide.</source>
        <translation>The guide was not found: it is installed with the program in share/doc/function-plotter/guide.</translation>
    </message>
    <message>
        <source>Руководство: %1</source>
        <translation>Guide: %1</translation>
    </message>
    <message>
        <source>Руководство нечем открыть: откройте в браузере файл %1.</source>
        <translation>Nothing here opens the guide: open the file %1 in a web browser.</translation>
    </message>
    <message>
        <source>Не напечатано: файл «%1» не записать.</source>
        <translation>Not printed: the file “%1” cannot be written.</translation>
    </message>
    <message>
        <source>Не напечатано: принтер «%1» не принял страницу.</source>
        <translation>Not printed: the printer “%1” did not take the page.</translation>
    </message>
    <message>
        <source>Показан прежний рисунок.</source>
        <translation>The picture before is shown.</translation>
    </message>
    <message>
        <source>Правка</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>переключатель</source>
        <translation>switch</translation>
    </message>
    <message>
        <source>построение</source>
        <translation>build</translation>
    </message>
    <message>
        <source>создать</source>
        <translation>new</translation>
    </message>
    <message>
        <source>цвета</source>
        <translation>colours</translation>
    </message>
    <message>
        <source>смена координат</source>
        <translation>coordinate switch</translation>
    </message>
    <message>
        <source>смена режима</source>
        <translation>mode switch</translation>
    </message>
    <message>
        <source>масштаб</source>
        <translation>zoom</translation>
    </message>
    <message>
        <source>сдвиг</source>
        <translation>pan</translation>
    </message>
    <message>
        <source>настройка анимации</source>
        <translation>animation settings</translation>
    </message>
    <message>
        <source>Файл .mth не сохранит всего: %1. Сохранить без этого? (Всё сохраняет документ .mthx.)</source>
        <translation>A .mth file will not keep everything: %1. Save without it? (A .mthx document keeps it all.)</translation>
    </message>
    <message>
        <source>Восстановить несохранённую работу?</source>
        <translation>Restore the unsaved work?</translation>
    </message>
    <message>
        <source>В списке уже %1 формул: больше не помещается</source>
        <translation>The list already holds %1 formulas: no more fit</translation>
    </message>
    <message>
        <source>Легенда</source>
        <translation>Legend</translation>
    </message>
    <message>
        <source>легенда</source>
        <translation>the legend</translation>
    </message>
    <message>
        <source>Графики списка…</source>
        <translation>List graphs…</translation>
    </message>
    <message>
        <source>графики списка</source>
        <translation>the list graphs</translation>
    </message>
    <message>
        <source>Параметры</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>параметр</source>
        <translation>the parameter</translation>
    </message>
    <message>
        <source>Параметров уже %1: больше не помещается.</source>
        <translation>There are %1 parameters already: no more fit.</translation>
    </message>
    <message>
        <source>добавить параметр</source>
        <translation>add the parameter</translation>
    </message>
    <message>
        <source>удалить параметр</source>
        <translation>remove the parameter</translation>
    </message>
    <message>
        <source>Параметр «%1»: «от» должно быть меньше «до», а шаг больше 0.</source>
        <translation>The parameter &quot;%1&quot;: &quot;from&quot; must be below &quot;to&quot;, and the step above 0.</translation>
    </message>
    <message>
        <source>диапазон параметра</source>
        <translation>the parameter&apos;s range</translation>
    </message>
    <message>
        <source>Добавить параметр «%1»</source>
        <translation>Add the parameter &quot;%1&quot;</translation>
    </message>
    <message>
        <source>игра параметра</source>
        <translation>the parameter&apos;s play</translation>
    </message>
    <message>
        <source>доказано %1 %</source>
        <translation>proven %1 %</translation>
    </message>
    <message>
        <source>Точный рисунок графиков</source>
        <translation>Exact graphs</translation>
    </message>
    <message>
        <source>точный рисунок графиков</source>
        <translation>exact graphs</translation>
    </message>
    <message>
        <source>Производные графика…</source>
        <translation>Derivatives of the graph…</translation>
    </message>
    <message>
        <source>Нормаль при трассировке</source>
        <translation>Normal while tracing</translation>
    </message>
    <message>
        <source>y′(x0)= Error! — %1</source>
        <translation>y′(x0)= Error! — %1</translation>
    </message>
    <message>
        <source>производные графика</source>
        <translation>derivatives of the graph</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>Параметр f (frame)</source>
        <translation>Parameter f (frame)</translation>
    </message>
    <message>
        <source>Первый кадр</source>
        <translation>First frame</translation>
    </message>
    <message>
        <source>Последний кадр</source>
        <translation>Last frame</translation>
    </message>
    <message>
        <source>Шаг</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>мс</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>Цикл</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>Анимация</source>
        <translation>Animation</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Летающая камера</source>
        <translation>Flying camera</translation>
    </message>
    <message>
        <source>Вид по траектории</source>
        <translation>View along the path</translation>
    </message>
    <message>
        <source>вперёд</source>
        <translation>forward</translation>
    </message>
    <message>
        <source>назад</source>
        <translation>backward</translation>
    </message>
    <message>
        <source>в начало координат</source>
        <translation>to the origin</translation>
    </message>
    <message>
        <source>Направление вверх</source>
        <translation>Up direction</translation>
    </message>
    <message>
        <source>вектор, направленный вверх от камеры</source>
        <translation>the vector pointing up from the camera</translation>
    </message>
    <message>
        <source>применить</source>
        <translation>apply</translation>
    </message>
    <message>
        <source>рисовать траекторию</source>
        <translation>draw the path</translation>
    </message>
    <message>
        <source>Номера кадров — от %1 до %2, шаг — от 0 до %3 мс, а не %4.</source>
        <translation>Frame numbers go from %1 to %2, the step from 0 to %3 ms, not %4.</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>График</source>
        <translation>Graph</translation>
    </message>
    <message>
        <source>Определить</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>Оси</source>
        <translation>Axes</translation>
    </message>
    <message>
        <source>Фон</source>
        <translation>Backgr.</translation>
    </message>
    <message>
        <source>Шрифт</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>По умолчанию</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>Применить</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Цвета</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>Номер графика — от 0 до 10, а не %1.</source>
        <translation>The graph number goes from 0 to 10, not %1.</translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source>ОПЕРАТОРЫ</source>
        <translation>OPERATORS</translation>
    </message>
    <message>
        <source>+   - сумма</source>
        <translation>+   - sum</translation>
    </message>
    <message>
        <source>-    - разность</source>
        <translation>-    - difference</translation>
    </message>
    <message>
        <source>*    - умножение</source>
        <translation>*    - product</translation>
    </message>
    <message>
        <source>/    - деление</source>
        <translation>/    - quotient</translation>
    </message>
    <message>
        <source>^    - возведение в степень</source>
        <translation>^    - power</translation>
    </message>
    <message>
        <source>ПЕРЕМЕННЫЕ И КОНСТАНТЫ</source>
        <translation>VARIABLES AND CONSTANTS</translation>
    </message>
    <message>
        <source>x   - аргумент (в декартовых и в полярных координатах) для y(x)</source>
        <translation>x   - argument of y(x) (in cartesian and polar coordinates)</translation>
    </message>
    <message>
        <source>y   - аргумент для z(x,y)</source>
        <translation>y   - argument of z(x,y)</translation>
    </message>
    <message>
        <source>t    - переменная для параметрических функций (x(t),y(t),z(t)) </source>
        <translation>t    - variable of parametric functions (x(t),y(t),z(t)) </translation>
    </message>
    <message>
        <source>e   - число e = 2,718281828... </source>
        <translation>e   - the number e = 2.718281828... </translation>
    </message>
    <message>
        <source>pi  - число pi = 3,14159265...</source>
        <translation>pi  - the number pi = 3.14159265...</translation>
    </message>
    <message>
        <source>f    - целочисленный номер кадра (для анимации)</source>
        <translation>f    - whole frame number (for animation)</translation>
    </message>
    <message>
        <source>РАЗНЫЕ</source>
        <translation>MISCELLANEOUS</translation>
    </message>
    <message>
        <source>sqrt(x)    - корень квадратный</source>
        <translation>sqrt(x)    - square root</translation>
    </message>
    <message>
        <source>exp(x)   - экспонента</source>
        <translation>exp(x)   - exponential</translation>
    </message>
    <message>
        <source>ln(x)      - натуральный логарифм</source>
        <translation>ln(x)      - natural logarithm</translation>
    </message>
    <message>
        <source>lg(x)      - десятичный логарифм</source>
        <translation>lg(x)      - decimal logarithm</translation>
    </message>
    <message>
        <source>abs(x)   - модуль числа</source>
        <translation>abs(x)   - absolute value</translation>
    </message>
    <message>
        <source>sign(x)  - (1 при x&gt;0, -1 при x&lt;0, 0 при x=0)</source>
        <translation>sign(x)  - (1 for x&gt;0, -1 for x&lt;0, 0 for x=0)</translation>
    </message>
    <message>
        <source>rnd       - случайное действительное число [0..1)</source>
        <translation>rnd       - random real number [0..1)</translation>
    </message>
    <message>
        <source>rand(x) - случайное натуральное число [0..x)</source>
        <translation>rand(x) - random natural number [0..x)</translation>
    </message>
    <message>
        <source>ТРИГОНОМЕТРИЯ</source>
        <translation>TRIGONOMETRY</translation>
    </message>
    <message>
        <source>cos(x)    - косинус </source>
        <translation>cos(x)    - cosine </translation>
    </message>
    <message>
        <source>sin(x)     - синус</source>
        <translation>sin(x)     - sine</translation>
    </message>
    <message>
        <source>tg(x)      - тангенс = sin(x)/cos(x)</source>
        <translation>tg(x)      - tangent = sin(x)/cos(x)</translation>
    </message>
    <message>
        <source>ctg(x)    - котангенс = 1/tg(x)</source>
        <translation>ctg(x)    - cotangent = 1/tg(x)</translation>
    </message>
    <message>
        <source>acos(x) - арккосинус</source>
        <translation>acos(x) - arccosine</translation>
    </message>
    <message>
        <source>asin(x)  - арксинус</source>
        <translation>asin(x)  - arcsine</translation>
    </message>
    <message>
        <source>atg(x)   - арктангенс</source>
        <translation>atg(x)   - arctangent</translation>
    </message>
    <message>
        <source>actg(x) - арккотангенс</source>
        <translation>actg(x) - arccotangent</translation>
    </message>
    <message>
        <source>sec(x)   - секанс = 1/cos(x)</source>
        <translation>sec(x)   - secant = 1/cos(x)</translation>
    </message>
    <message>
        <source>csec(x) - косеканс = 1/sin(x)</source>
        <translation>csec(x) - cosecant = 1/sin(x)</translation>
    </message>
    <message>
        <source>sh(x)     - гиперболический синус = (exp(x)-exp(-x))/2</source>
        <translation>sh(x)     - hyperbolic sine = (exp(x)-exp(-x))/2</translation>
    </message>
    <message>
        <source>ch(x)    - гиперболический косинус = (exp(x)+exp(-x))/2</source>
        <translation>ch(x)    - hyperbolic cosine = (exp(x)+exp(-x))/2</translation>
    </message>
    <message>
        <source>th(x)     - гиперболический тангенс = sh(x)/ch(x)</source>
        <translation>th(x)     - hyperbolic tangent = sh(x)/ch(x)</translation>
    </message>
    <message>
        <source>cth(x)   - гиперболический котангенс = 1/th(x)</source>
        <translation>cth(x)   - hyperbolic cotangent = 1/th(x)</translation>
    </message>
    <message>
        <source>Список используемых функций</source>
        <translation>List of functions</translation>
    </message>
</context>
<context>
    <name>TFormCalculus</name>
    <message>
        <source>Производные графика</source>
        <translation>Derivatives of the graph</translation>
    </message>
    <message>
        <source>f′ — производная (штрих)</source>
        <translation>f′ — the derivative (dashed)</translation>
    </message>
    <message>
        <source>f″ — вторая производная (точки)</source>
        <translation>f″ — the second derivative (dotted)</translation>
    </message>
    <message>
        <source>∫f — первообразная через точку (x0, y0) (штрих-пунктир)</source>
        <translation>∫f — the antiderivative through the point (x0, y0) (dash-dotted)</translation>
    </message>
</context>
<context>
    <name>TFormFind</name>
    <message>
        <source>График</source>
        <translation>Graph</translation>
    </message>
    <message>
        <source>Найти</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>с графиком</source>
        <translation>with graph</translation>
    </message>
    <message>
        <source>от</source>
        <translation>from</translation>
    </message>
    <message>
        <source>до</source>
        <translation>to</translation>
    </message>
    <message>
        <source>корень</source>
        <translation>root</translation>
    </message>
    <message>
        <source>минимум</source>
        <translation>minimum</translation>
    </message>
    <message>
        <source>максимум</source>
        <translation>maximum</translation>
    </message>
    <message>
        <source>пересечение</source>
        <translation>intersection</translation>
    </message>
    <message>
        <source>площадь</source>
        <translation>area</translation>
    </message>
    <message>
        <source>На рисунке нет графиков y(x): постройте график и откройте «Найти…» снова.</source>
        <translation>The picture has no y(x) graphs: plot a graph and open “Find…” again.</translation>
    </message>
</context>
<context>
    <name>TFormGraphs</name>
    <message>
        <source>Графики списка</source>
        <translation>List graphs</translation>
    </message>
    <message>
        <source>Формула</source>
        <translation>Formula</translation>
    </message>
    <message>
        <source>Цвет</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>Толщина</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Линия</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Виден</source>
        <translation>Visible</translation>
    </message>
    <message>
        <source>Имя</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Цвет графика</source>
        <translation>The graph&apos;s colour</translation>
    </message>
    <message>
        <source>сплошная</source>
        <translation>solid</translation>
    </message>
    <message>
        <source>штрих</source>
        <translation>dash</translation>
    </message>
    <message>
        <source>точки</source>
        <translation>dot</translation>
    </message>
</context>
<context>
    <name>TFormulaMessages</name>
    <message>
        <source>позиция %1</source>
        <translation>position %1</translation>
    </message>
    <message>
        <source>позиция %1–%2</source>
        <translation>positions %1–%2</translation>
    </message>
    <message>
        <source>Перед «%1» нет операнда (%2)</source>
        <translation>No operand before “%1” (%2)</translation>
    </message>
    <message>
        <source>После «%1» нет операнда (%2)</source>
        <translation>No operand after “%1” (%2)</translation>
    </message>
    <message>
        <source>У функции «%1» нет аргумента (%2)</source>
        <translation>The function “%1” has no argument (%2)</translation>
    </message>
    <message>
        <source>Пустые скобки (%1)</source>
        <translation>Empty brackets (%1)</translation>
    </message>
    <message>
        <source>Между числом и %1 нужен знак *: %2</source>
        <translation>A * is needed between the number and %1: %2</translation>
    </message>
    <message>
        <source>Между множителями нужен знак *: %1</source>
        <translation>A * is needed between the factors: %1</translation>
    </message>
    <message>
        <source>Неизвестная функция «%1» (%2)</source>
        <translation>Unknown function “%1” (%2)</translation>
    </message>
    <message>
        <source>Неизвестное имя «%1» (%2)</source>
        <translation>Unknown name “%1” (%2)</translation>
    </message>
    <message>
        <source>Не хватает «)» к скобке (%1)</source>
        <translation>Missing “)” for the bracket (%1)</translation>
    </message>
    <message>
        <source>Лишняя «)» (%1)</source>
        <translation>Extra “)” (%1)</translation>
    </message>
    <message>
        <source>Знака «%1» нет в языке формул (%2)</source>
        <translation>The formula language has no “%1” (%2)</translation>
    </message>
    <message>
        <source>Пробел в формуле (%1): в языке формул пробелов нет</source>
        <translation>A space in the formula (%1): the formula language has no spaces</translation>
    </message>
    <message>
        <source>Порядок через E не понимается: вместо «%1» пишите %2</source>
        <translation>An exponent with E is not understood: instead of “%1” write %2</translation>
    </message>
    <message>
        <source>Число «%1» не читается (%2)</source>
        <translation>The number “%1” cannot be read (%2)</translation>
    </message>
    <message>
        <source>Слишком глубокая вложенность (%1): дальше формула считается нулём</source>
        <translation>Nested too deeply (%1): from here on the formula counts as zero</translation>
    </message>
    <message>
        <source>Может быть, «%1»?</source>
        <translation>Did you mean “%1”?</translation>
    </message>
    <message>
        <source>Вместо него пишут «%1».</source>
        <translation>Write “%1” instead.</translation>
    </message>
    <message>
        <source>Переменная %1 здесь не определена: значение считается только от x и f</source>
        <translation>The variable %1 is not defined here: the value depends only on x and f</translation>
    </message>
    <message>
        <source>Неизвестное имя «%1»</source>
        <translation>Unknown name “%1”</translation>
    </message>
    <message>
        <source>Корень из отрицательного числа: %1</source>
        <translation>Square root of a negative number: %1</translation>
    </message>
    <message>
        <source>Логарифм числа, не большего нуля: %1</source>
        <translation>Logarithm of a number not greater than zero: %1</translation>
    </message>
    <message>
        <source>Арксинус или арккосинус числа вне отрезка [-1; 1]: %1</source>
        <translation>Arcsine or arccosine of a number outside [-1; 1]: %1</translation>
    </message>
    <message>
        <source>Деление на ноль: %1</source>
        <translation>Division by zero: %1</translation>
    </message>
    <message>
        <source>Ноль в отрицательной степени: %1</source>
        <translation>Zero to a negative power: %1</translation>
    </message>
    <message>
        <source>Отрицательное число в дробной степени: %1</source>
        <translation>A negative number to a fractional power: %1</translation>
    </message>
    <message>
        <source>Формула вложена слишком глубоко</source>
        <translation>The formula is nested too deeply</translation>
    </message>
    <message>
        <source>Формула слишком сложна, чтобы сосчитать её здесь</source>
        <translation>The formula is too complex to be computed here</translation>
    </message>
    <message>
        <source>«%1» — случайное число только в числовых полях; в формуле графика это неизвестное имя, и оно равно 0 (%2). В графике случайные числа даёт rand(n)</source>
        <translation>“%1” is a random number in the numeric fields only; in a graph&apos;s formula it is an unknown name and is 0 (%2). In a graph, rand(n) gives random numbers</translation>
    </message>
    <message>
        <source>%1, %2 раз подряд</source>
        <translation>%1, %2 times in a row</translation>
    </message>
    <message>
        <source>Или это параметр: «Добавить параметр «%1»» справа в строке состояния.</source>
        <translation>Or it is a parameter: &quot;Add the parameter &quot;%1&quot;&quot; at the right of the status line.</translation>
    </message>
    <message>
        <source>Второй знак сравнения «%1» (%2): цепочки сравнений не рисуются, оставьте один знак</source>
        <translation>A second comparison «%1» (%2): chains of comparisons are not drawn; keep one sign</translation>
    </message>
    <message>
        <source>Случайные числа в отношении (%1): у отношения должен быть один ответ</source>
        <translation>Random numbers in a relation (%1): a relation must have one answer</translation>
    </message>
</context>
<context>
    <name>TGraphAnalysis</name>
    <message>
        <source>Корень</source>
        <translation>Root</translation>
    </message>
    <message>
        <source>Минимум</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>Максимум</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>Пересечение графиков %1 и %2</source>
        <translation>Intersection of graphs %1 and %2</translation>
    </message>
    <message>
        <source>Пересечение с осью y</source>
        <translation>Crossing of the y axis</translation>
    </message>
    <message>
        <source>Такого графика y(x) на рисунке нет.</source>
        <translation>The picture has no such y(x) graph.</translation>
    </message>
    <message>
        <source>Площадь на %1: %2 (погрешность %3)</source>
        <translation>Area on %1: %2 (error %3)</translation>
    </message>
    <message>
        <source>Второго такого графика на рисунке нет.</source>
        <translation>The picture has no such second graph.</translation>
    </message>
    <message>
        <source>Пересечения</source>
        <translation>Intersections</translation>
    </message>
    <message>
        <source>Корни</source>
        <translation>Roots</translation>
    </message>
    <message>
        <source>Минимумы</source>
        <translation>Minima</translation>
    </message>
    <message>
        <source>Максимумы</source>
        <translation>Maxima</translation>
    </message>
    <message>
        <source>На %1 ничего не найдено.</source>
        <translation>Nothing found on %1.</translation>
    </message>
    <message>
        <source>%1 на %2: %3</source>
        <translation>%1 on %2: %3</translation>
    </message>
    <message>
        <source> … (всего %1%2)</source>
        <translation> … (%1 in all%2)</translation>
    </message>
    <message>
        <source>, показаны не все</source>
        <translation>, not all shown</translation>
    </message>
    <message>
        <source>Не исследуются графики: %1. Их формулы берут случайные числа, особых точек у таких графиков нет.</source>
        <translation>Graphs not analysed: %1. Their formulas draw random numbers, and such graphs have no points of interest.</translation>
    </message>
    <message>
        <source>угол %1°</source>
        <translation>angle %1°</translation>
    </message>
    <message>
        <source>Точка перегиба</source>
        <translation>Inflection point</translation>
    </message>
</context>
<context>
    <name>TParameterPanel</name>
    <message>
        <source>Параметры</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>Имя</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>от</source>
        <translation>from</translation>
    </message>
    <message>
        <source>до</source>
        <translation>to</translation>
    </message>
    <message>
        <source>шаг</source>
        <translation>step</translation>
    </message>
    <message>
        <source>имя нового параметра</source>
        <translation>the new parameter&apos;s name</translation>
    </message>
    <message>
        <source>Добавить параметр</source>
        <translation>Add a parameter</translation>
    </message>
    <message>
        <source>Удалить параметр</source>
        <translation>Remove the parameter</translation>
    </message>
    <message>
        <source>Шагов в секунду</source>
        <translation>Steps a second</translation>
    </message>
    <message>
        <source>Играть: от «от» до «до»</source>
        <translation>Play: from &quot;from&quot; to &quot;to&quot;</translation>
    </message>
    <message>
        <source>цикл</source>
        <translation>loop</translation>
    </message>
    <message>
        <source>туда и обратно</source>
        <translation>there and back</translation>
    </message>
    <message>
        <source>один раз</source>
        <translation>once</translation>
    </message>
</context>
<context>
    <name>Tfrm3D</name>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>View2D</name>
    <message>
        <source>Такой вид не помещается в числа: края или размеры выходят за пределы, или у него нет ширины или высоты.</source>
        <translation>This view does not fit into numbers: its edges or sizes are out of range, or it has no width or height.</translation>
    </message>
    <message>
        <source>Левый край вида x1 = %1 правее правого x2 = %2: поменяйте их местами.</source>
        <translation>The view&apos;s left edge x1 = %1 lies right of its right edge x2 = %2: swap them.</translation>
    </message>
</context>
</TS>
