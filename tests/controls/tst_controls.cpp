// The data-bound controls on tables held in memory: they know datasets only.
#include "ControlTables.h"
#include "TestKit.h"

#include "controls/DataControls.h"
#include "uikit/Messages.h"

#include <QAccessible>
#include <QBuffer>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

QString search(const QString &column, const QString &text)
{
    return QStringLiteral("(UPPER(%1) LIKE UPPER('%%2%'))").arg(column, text);
}

// A shown, active top-level window, for what depends on the focus.
struct Window
{
    QWidget widget;
    QHBoxLayout *layout = new QHBoxLayout(&widget);

    template <typename W> W *add(W *w)
    {
        layout->addWidget(w);
        return w;
    }
    bool show()
    {
        widget.show();
        QApplication::setActiveWindow(&widget);
        return QTest::qWaitForWindowActive(&widget);
    }
};

// Types `text` key by key, accented letters too (QTest::keyClicks takes ASCII only).
void type(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        const Qt::Key key = c.unicode() < 0x100 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 95);
    return bytes;
}

bool announcedReadOnly(QWidget *w)
{
    return QAccessible::queryAccessibleInterface(w)->state().readOnly;
}

} // namespace

class TestControls : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void editShowsTheCurrentRowAtOnce()
    {
        const auto members = membersTable();
        members->store({{"MEMCODIGO", 1}, {"MEMNOME", "ANA"}});
        members->store({{"MEMCODIGO", 2}, {"MEMNOME", "BRUNO"}});
        TableDataset *tb = members->dataset();
        DBEdit edit(members->source(), "MEMNOME");
        QCOMPARE(edit.text(), QString()); // closed
        QCOMPARE(edit.maxLength(), 50);
        tb->open();
        QCOMPARE(edit.text(), "ANA");
        tb->next();
        QCOMPARE(edit.text(), "BRUNO");
        tb->insert();
        QCOMPARE(edit.text(), QString());
        tb->cancel();
        QCOMPARE(edit.text(), "BRUNO");
        tb->setFilter(search("MEMNOME", "ZZZ"));
        tb->setFiltered(true);
        QCOMPARE(edit.text(), QString()); // no row
        tb->setFiltered(false);
        QCOMPARE(edit.text(), "ANA");
        tb->close();
        QCOMPARE(edit.text(), QString());
    }

    void typedTextIsHandedOverBeforePosting()
    {
        const auto members = membersTable();
        members->store({{"MEMCODIGO", 1}, {"MEMNOME", "ANA"}});
        TableDataset *tb = members->dataset();
        tb->open();
        DBEdit edit(members->source(), "MEMNOME");
        DBEdit twin(members->source(), "MEMNOME");
        DBEdit code(members->source(), "MEMCODIGO");

        // Browse mode: what is typed is never stored.
        edit.selectAll();
        QTest::keyClicks(&edit, "X");
        QCOMPARE(dbErrorOf([&] { edit.updateRecord(); }), QString());
        QCOMPARE(members->field("MEMNOME")->asString(), "ANA");

        tb->edit();
        QCOMPARE(edit.text(), "ANA");
        edit.selectAll();
        QTest::keyClicks(&edit, "Ana Maria");
        QCOMPARE(members->field("MEMNOME")->asString(), "ANA"); // not yet
        edit.updateRecord();
        QCOMPARE(twin.text(), "Ana Maria"); // the other box on the column follows at once

        edit.selectAll();
        QTest::keyClicks(&edit, "Ana Paula");
        tb->post(); // without leaving the box
        QCOMPARE(members->field("MEMNOME")->asString(), "Ana Paula");

        // Integer columns take digits and a leading minus only.
        tb->insert();
        QTest::keyClicks(&code, "-1a2-");
        QCOMPARE(code.text(), "-12");
        code.selectAll();
        QTest::keyClicks(&code, "7");
        QTest::keyClicks(&edit, "Carla");
        tb->post();
        QCOMPARE(members->field("MEMCODIGO")->asInteger(), 7);
        QCOMPARE(walk(*tb, "MEMNOME"), QStringList({"Ana Paula", "Carla"}));

        // A character the database cannot hold refuses the post.
        tb->edit();
        edit.setText(QString());
        QTest::keyClicks(&edit, "x");
        edit.insert(QStringLiteral("Ω"));
        QVERIFY(!dbErrorOf([&] { tb->post(); }).isEmpty());
        QVERIFY(tb->editing());
    }

    void capitalsAsTypedAndTheWidthLimit()
    {
        const auto members = membersTable();
        members->dataset()->open();
        members->dataset()->insert();
        DBEdit name(members->source(), "MEMNOME");
        name.setCharCase(DBEdit::CharCase::Upper);
        type(&name, "joão çé ÿ");
        QCOMPARE(name.text(), "JOÃO ÇÉ Ÿ");
        QVERIFY(name.isUndoAvailable()); // typing kept its undo history
        name.setCursorPosition(2);
        QTest::keyClicks(&name, "x");
        QCOMPARE(name.text(), "JOXÃO ÇÉ Ÿ");
        QCOMPARE(name.cursorPosition(), 3);
        name.insert(QStringLiteral("µ")); // its capital is not in the code page
        QCOMPARE(name.text(), "JOXµÃO ÇÉ Ÿ");

        DBEdit state(members->source(), "MEMUF");
        state.setCharCase(DBEdit::CharCase::Upper);
        QTest::keyClicks(&state, "spx");
        QCOMPARE(state.text(), "SP");

        DBMemo memo(members->source(), "MEMENDERECO"); // 50 characters
        memo.setCharCase(DBMemo::CharCase::Upper);
        type(&memo, "rua ç");
        QCOMPARE(memo.toPlainText(), "RUA Ç");
        memo.insertPlainText(QString(60, u'a')); // a paste beyond the width
        QCOMPARE(memo.toPlainText(), "RUA Ç" + QString(45, u'A'));
        members->field("MEMCODIGO")->setAsInteger(1);
        members->dataset()->post();
        QCOMPARE(members->field("MEMNOME")->asString(), "JOXµÃO ÇÉ Ÿ");
        QCOMPARE(members->field("MEMENDERECO")->asString(), memo.toPlainText());
        QCOMPARE(members->field("MEMUF")->asString(), "SP");
    }

    void dateMask()
    {
        const auto members = membersTable();
        TableDataset *tb = members->dataset();
        Field *born = members->field("MEMDATANASC");
        tb->open();
        DBEdit date(members->source(), "MEMDATANASC");
        QCOMPARE(date.inputMask(), "99/99/9999;_");
        tb->insert();
        members->field("MEMCODIGO")->setAsInteger(1);
        QCOMPARE(date.displayText(), "__/__/____");
        QTest::keyClicks(&date, "03021980");
        QCOMPARE(date.displayText(), "03/02/1980");
        tb->post();
        QCOMPARE(born->asDate(), QDate(1980, 2, 3));
        QCOMPARE(date.displayText(), "03/02/1980");

        tb->edit();
        date.selectAll();
        QTest::keyClick(&date, Qt::Key_Backspace);
        QCOMPARE(date.displayText(), "__/__/____");
        tb->post();
        QVERIFY(born->isNull());

        tb->edit();
        QTest::keyClicks(&date, "31022020");
        QCOMPARE(dbErrorOf([&] { tb->post(); }), "'31/02/2020' is not a valid date");
        QVERIFY(tb->editing());
        date.selectAll();
        QTest::keyClicks(&date, "12");
        QCOMPARE(dbErrorOf([&] { tb->post(); }), "'12/__/____' is not a valid date");
        tb->cancel();
        QCOMPARE(date.displayText(), "__/__/____");
    }

    void refusedOnLeavingTheBox()
    {
        const auto members = membersTable();
        members->store({{"MEMCODIGO", 1}, {"MEMNOME", "ANA"}, {"MEMDATANASC", QDate(1980, 2, 3)}});
        TableDataset *tb = members->dataset();
        tb->open();
        Window w;
        auto *date = w.add(new DBEdit(members->source(), "MEMDATANASC"));
        auto *name = w.add(new DBEdit(members->source(), "MEMNOME"));
        QVERIFY(w.show());
        Messages::Recorder recorder;

        tb->edit();
        date->setFocus();
        date->selectAll();
        QTest::keyClicks(date, "31022020");
        name->setFocus();
        QCOMPARE(recorder.texts(), QStringList{"'31/02/2020' is not a valid date"});
        QCOMPARE(date->displayText(), "31/02/2020"); // kept for correcting
        QCOMPARE(members->field("MEMDATANASC")->asDate(), QDate(1980, 2, 3));
        QCOMPARE(dbErrorOf([&] { tb->post(); }), "'31/02/2020' is not a valid date");

        recorder.clear();
        date->setFocus();
        date->selectAll();
        QTest::keyClicks(date, "01012001");
        name->setFocus();
        QCOMPARE(recorder.texts(), QStringList());
        QCOMPARE(members->field("MEMDATANASC")->asDate(), QDate(2001, 1, 1)); // stored on leaving
        tb->cancel();
        QCOMPARE(date->displayText(), "03/02/1980");

        // Typed in browse mode: nothing stored, no error, the stored value shown again.
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, "BIA");
        date->setFocus();
        QCOMPARE(recorder.texts(), QStringList());
        QCOMPARE(name->text(), "ANA");
        QCOMPARE(members->field("MEMNOME")->asString(), "ANA");
    }

    // Typed through the mask and stored with its separators; a number stored
    // with others (older CPFs with hyphens) shows by its digits in the mask.
    void taxNumberIsTypedThroughItsMask()
    {
        const auto members = membersTable();
        members->store({{"MEMCODIGO", 2}, {"MEMCPF", "172-588-395-34"}});
        TableDataset *tb = members->dataset();
        tb->open();
        DBEdit cpf(members->source(), "MEMCPF");
        QCOMPARE(cpf.inputMask(), "999.999.999-99;_");
        QCOMPARE(cpf.text(), "172.588.395-34");
        tb->insert();
        members->field("MEMCODIGO")->setAsInteger(1);
        QTest::keyClicks(&cpf, "123");
        QCOMPARE(dbErrorOf([&] { tb->post(); }),
                 "'123.___.___-__' está incompleto: preencha todas as posições ou deixe em branco.");
        QTest::keyClicks(&cpf, "45678901");
        tb->post();
        QCOMPARE(members->field("MEMCPF")->asString(), "123.456.789-01");
        tb->applyUpdates();
        QCOMPARE(members->stored(1, "MEMCPF").toString(), "123.456.789-01");
        QCOMPARE(members->stored(0, "MEMCPF").toString(), "172-588-395-34"); // shown, never rewritten

        tb->edit();
        cpf.selectAll();
        QTest::keyClick(&cpf, Qt::Key_Delete);
        tb->post();
        QVERIFY(members->field("MEMCPF")->isNull());
    }

    void moneyShownAsCurrencyUnlessBeingEdited()
    {
        const auto employees = employeesTable();
        employees->store({{"FUNCODIGO", 1}, {"FUNNOME", "ANA"}, {"FUNSALARIO", 1234.5}});
        TableDataset *tb = employees->dataset();
        Field *salary = employees->field("FUNSALARIO");
        tb->open();
        Window w;
        auto *money = w.add(new DBEdit(employees->source(), "FUNSALARIO"));
        auto *name = w.add(new DBEdit(employees->source(), "FUNNOME"));
        QVERIFY(w.show());
        const QString currency = QLocale().toCurrencyString(1234.5);
        QVERIFY(currency.startsWith("R$") && currency.endsWith("1.234,50"));
        QCOMPARE(money->text(), currency);
        money->setFocus();
        QCOMPARE(money->text(), currency); // browse mode: nothing to edit

        name->setFocus();
        tb->edit();
        QCOMPARE(money->text(), currency);
        money->setFocus();
        QCOMPARE(money->text(), employees->field("FUNSALARIO")->editText());
        QCOMPARE(money->text(), "1234,5");
        money->selectAll();
        QTest::keyClicks(money, "2.5x00,75");
        QCOMPARE(money->text(), "2.500,75");
        name->setFocus();
        QCOMPARE(salary->asFloat(), 2500.75);
        QCOMPARE(money->text(), QLocale().toCurrencyString(2500.75));

        money->setFocus();
        money->selectAll();
        QTest::keyClicks(money, "1234,5");
        tb->post(); // still in the box
        QCOMPARE(salary->asFloat(), 1234.5);
        QCOMPARE(money->text(), currency);
    }

    void memoFollowsAndHandsOver()
    {
        const auto books = booksTable();
        books->store({{"LIVCODIGO", 1}, {"LIVOBSERVACAO", "primeira linha"}});
        books->store({{"LIVCODIGO", 2}});
        TableDataset *tb = books->dataset();
        tb->open();
        DBMemo memo(books->source(), "LIVOBSERVACAO");
        QVERIFY(memo.tabChangesFocus());
        QCOMPARE(memo.toPlainText(), "primeira linha");
        tb->next();
        QCOMPARE(memo.toPlainText(), QString());
        tb->edit();
        memo.insertPlainText(QString(300, u'x'));
        QCOMPARE(memo.toPlainText().size(), 250);
        tb->post();
        QCOMPARE(books->field("LIVOBSERVACAO")->asString(), QString(250, u'x'));
        tb->edit();
        memo.insertPlainText("y");
        tb->cancel();
        QCOMPARE(memo.toPlainText(), QString(250, u'x'));
    }

    void comboBoxShowsAndStoresItsTexts()
    {
        const auto members = membersTable();
        members->store({{"MEMCODIGO", 1}, {"MEMUF", "SP"}});
        members->store({{"MEMCODIGO", 2}, {"MEMUF", "XX"}});
        members->store({{"MEMCODIGO", 3}});
        TableDataset *tb = members->dataset();
        Field *uf = members->field("MEMUF");
        tb->open();
        tb->last();
        DBComboBox combo(members->source(), "MEMUF");
        combo.addItems({"AC", "SP", "TO"}); // items given after binding: still none chosen
        QCOMPARE(combo.currentIndex(), -1);
        tb->first();
        QCOMPARE(combo.currentText(), "SP");
        tb->next();
        QCOMPARE(combo.currentIndex(), -1); // unknown value

        DBComboBox editable(members->source(), "MEMUF", {"AC", "SP", "TO"});
        editable.setCharCase(DBComboBox::CharCase::Upper); // before it has a line edit
        editable.setEditable(true);
        tb->prior();
        tb->next();
        QCOMPARE(editable.currentIndex(), -1);
        QCOMPARE(editable.currentText(), "XX"); // shown as it is stored

        QTest::keyClick(&combo, Qt::Key_Down); // browse mode: not stored
        QCOMPARE(combo.currentIndex(), -1);
        QCOMPARE(uf->asString(), "XX");

        tb->edit();
        QTest::keyClick(&combo, Qt::Key_Down);
        QCOMPARE(uf->asString(), "AC");
        QCOMPARE(editable.currentText(), "AC");
        editable.lineEdit()->selectAll();
        QTest::keyClicks(editable.lineEdit(), "rj");
        tb->post();
        QCOMPARE(uf->asString(), "RJ");
        QCOMPARE(combo.currentIndex(), -1);
    }

    void radioGroupChecksTheStoredWords()
    {
        const auto members = membersTable();
        members->store({{"MEMCODIGO", 1}, {"MEMSEXO", "FEMININO"}});
        members->store({{"MEMCODIGO", 2}, {"MEMSEXO", "OUTRO"}});
        members->store({{"MEMCODIGO", 3}});
        TableDataset *tb = members->dataset();
        tb->open();
        DBRadioGroup sex(members->source(), "MEMSEXO", "SEXO", {"MASCULINO", "FEMININO"});
        QCOMPARE(sex.title(), "SEXO");
        QCOMPARE(sex.count(), 2);
        QCOMPARE(sex.checkedIndex(), 1);
        tb->next();
        QCOMPARE(sex.checkedIndex(), -1);
        QVERIFY(!sex.button(0)->isChecked() && !sex.button(1)->isChecked());
        tb->next();
        QCOMPARE(sex.checkedIndex(), -1);

        sex.button(0)->click(); // browse mode: not stored
        QCOMPARE(sex.checkedIndex(), -1);
        QVERIFY(members->field("MEMSEXO")->isNull());

        tb->edit();
        sex.button(0)->click();
        QCOMPARE(members->field("MEMSEXO")->asString(), "MASCULINO");
        tb->post();
        tb->first();
        QCOMPARE(sex.checkedIndex(), 1);
        tb->last();
        QCOMPARE(sex.checkedIndex(), 0);
    }

    void imageShowsPicturesAtTheirOwnSize()
    {
        const auto members = membersTable();
        TableDataset *tb = members->dataset();
        Field *photo = members->field("MEMFOTO");
        tb->open();
        QImage picture(300, 100, QImage::Format_RGB32); // red left half, blue right half
        picture.fill(Qt::blue);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 150; ++x)
                picture.setPixel(x, y, qRgb(255, 0, 0));
        const QByteArray garbage("no picture at all");
        const QList<QByteArray> contents{encoded(picture, "PNG", 95), encoded(picture, "JPG", 95), encoded(picture, "BMP", 95),
                                         garbage, {}};
        for (int i = 0; i < contents.size(); ++i) {
            tb->insert();
            members->field("MEMCODIGO")->setAsInteger(i + 1);
            photo->setAsBytes(contents[i]);
            tb->post();
        }
        QVERIFY(!contents[1].isEmpty());

        DBImage image(members->source(), "MEMFOTO");
        image.setFixedSize(150, 150);
        for (int i = 0; i < 3; ++i) {
            tb->moveTo(i);
            QVERIFY2(image.hasPicture(), qPrintable(QString::number(i)));
            QCOMPARE(image.pictureSize(), QSize(300, 100));
            QCOMPARE(image.picture().size(), QSize(150, 100)); // only what the box shows is decoded
            // Centred, not scaled: the middle half of the width, the whole height.
            const QImage shot = image.grab().toImage();
            const QColor left = shot.pixelColor(10, 75), right = shot.pixelColor(140, 75);
            QVERIFY(left.red() > 200 && left.blue() < 60);
            QVERIFY(right.blue() > 200 && right.red() < 60);
            const QColor above = shot.pixelColor(75, 10);
            QVERIFY(above != left && above != right);
        }
        tb->moveTo(3);
        QVERIFY(!image.hasPicture());
        QCOMPARE(image.text(), "Imagem inválida");
        QCOMPARE(photo->asBytes(), garbage);
        tb->moveTo(4);
        QVERIFY(!image.hasPicture());
        QCOMPARE(image.text(), QString());

        tb->edit();
        photo->setAsBytes(contents[0]);
        QVERIFY(image.hasPicture()); // a picture loaded into the field shows at once
    }

    void captionLabelsNameTheBoxes()
    {
        const auto members = membersTable();
        const auto positions = positionsTable();
        QWidget form;
        auto *name = new DBEdit(members->source(), "MEMNOME", &form);
        (new QLabel("NOME", &form))->setBuddy(name);
        auto *list = new DBLookupComboBox(&form);
        list->setListSource(positions->source(), "CARCODIGO", "CARDESCRICAO");
        (new QLabel("CARGO", &form))->setBuddy(list);
        auto *states = new DBComboBox(members->source(), "MEMUF", {"AC", "SP"}, &form);
        states->setAccessibleName("UF");
        QCOMPARE(QAccessible::queryAccessibleInterface(name)->text(QAccessible::Name), "NOME");
        QAccessibleInterface *listInterface = QAccessible::queryAccessibleInterface(list);
        QCOMPARE(listInterface->role(), QAccessible::ComboBox);
        QCOMPARE(listInterface->text(QAccessible::Name), "CARGO");
        QCOMPARE(QAccessible::queryAccessibleInterface(states)->text(QAccessible::Name), "UF");
        positions->dataset()->open();
        positions->dataset()->insert();
        positions->field("CARCODIGO")->setAsInteger(1);
        positions->field("CARDESCRICAO")->setAsString("PASTOR");
        positions->dataset()->post();
        list->setKeyValue(1);
        QCOMPARE(listInterface->text(QAccessible::Value), "PASTOR");
    }

    // Speech input and other assistive tools put text in through the
    // accessibility interface: it reaches the field as typed text does,
    // capitals and all; in browse mode it is never stored.
    void textSetThroughAccessibilityReachesTheField()
    {
        const auto members = membersTable();
        members->store({{"MEMCODIGO", 1}, {"MEMNOME", "ANA"}, {"MEMUF", "SP"}, {"MEMCONJUGE", "JOSÉ"}});
        TableDataset *tb = members->dataset();
        tb->open();
        DBEdit name(members->source(), "MEMNOME");
        name.setCharCase(DBEdit::CharCase::Upper);
        DBEdit code(members->source(), "MEMCODIGO");
        DBMemo spouse(members->source(), "MEMCONJUGE");
        DBComboBox state(members->source(), "MEMUF", {"RS", "SP"});
        state.setEditable(true);
        const auto editable = [](QWidget *w) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
            return iface ? iface->editableTextInterface() : nullptr;
        };
        QVERIFY(editable(&name) && editable(&code) && editable(&spouse) && editable(state.lineEdit()));

        editable(&name)->replaceText(0, 3, "maria");      // what a dictation tool does
        QCOMPARE(name.text(), "MARIA");
        tb->post();
        QCOMPARE(members->field("MEMNOME")->asString(), "ANA"); // browse mode: not stored

        tb->edit();
        QCOMPARE(name.text(), "ANA");
        editable(&name)->replaceText(0, 3, "maria");
        editable(&name)->insertText(5, " clara");
        QAccessible::queryAccessibleInterface(&code)->setText(QAccessible::Value, "7");
        editable(&spouse)->replaceText(0, 4, "JOÃO");
        editable(state.lineEdit())->replaceText(0, 2, "RS");
        tb->post();
        QCOMPARE(members->field("MEMNOME")->asString(), "MARIA CLARA");
        QCOMPARE(members->field("MEMCODIGO")->asInteger(), 7);
        QCOMPARE(members->field("MEMCONJUGE")->asString(), "JOÃO");
        QCOMPARE(members->field("MEMUF")->asString(), "RS");
    }

    // Read-only (the browse state) a box, a memo, a list, a radio group and a
    // picture box stay enabled, so they show the row in full contrast, and are
    // announced as read-only; typing, clicks and keys change nothing, even
    // while the row is edited. Editable, the same actions change the row. A
    // button is disabled instead.
    void readOnlyShowsButNeverChanges()
    {
        const auto members = membersTable();
        members->store({{"MEMCODIGO", 1}, {"MEMNOME", "ANA"}, {"MEMENDERECO", "RUA A"}, {"MEMUF", "RS"},
                        {"MEMSEXO", "MASCULINO"}});
        TableDataset *tb = members->dataset();
        tb->open();
        Window w;
        auto *name = w.add(new DBEdit(members->source(), "MEMNOME"));
        auto *address = w.add(new DBMemo(members->source(), "MEMENDERECO"));
        auto *uf = w.add(new DBComboBox(members->source(), "MEMUF", {"RS", "SC", "PR"}));
        uf->setEditable(true);
        auto *sex = w.add(new DBRadioGroup(members->source(), "MEMSEXO", "SEXO", {"MASCULINO", "FEMININO"}));
        auto *photo = w.add(new DBImage(members->source(), "MEMFOTO"));
        photo->setFixedSize(50, 50);
        QVERIFY(w.show());
        int photoClicks = 0;
        connect(photo, &DBImage::clicked, this, [&photoClicks] { ++photoClicks; });
        const QList<QWidget *> controls{name, address, uf, sex, photo};
        const auto useEveryControl = [&] {
            tb->edit();
            for (QWidget *box : {static_cast<QWidget *>(name), static_cast<QWidget *>(address)}) {
                box->setFocus();
                QTest::keyClick(box, Qt::Key_End);
                QTest::keyClicks(box, "X");
            }
            uf->setFocus();
            QTest::keyClick(uf, Qt::Key_Down);
            uf->lineEdit()->selectAll();
            QTest::keyClicks(uf->lineEdit(), "PR");
            QTest::mouseClick(sex->button(1), Qt::LeftButton);
            QTest::mouseClick(photo, Qt::LeftButton);
            name->setFocus();
            tb->post();
            return QStringList{members->field("MEMNOME")->asString(), members->field("MEMENDERECO")->asString(),
                               members->field("MEMUF")->asString(), members->field("MEMSEXO")->asString()};
        };

        for (QWidget *c : controls)
            DataControl::setEditable(c, false);
        for (QWidget *c : controls)
            QVERIFY2(c->isEnabled() && DataControl::isReadOnly(c), c->metaObject()->className());
        for (QWidget *c : {static_cast<QWidget *>(name), static_cast<QWidget *>(address), static_cast<QWidget *>(uf),
                           static_cast<QWidget *>(sex->button(0))})
            QVERIFY2(announcedReadOnly(c), c->metaObject()->className());
        QCOMPARE(useEveryControl(), QStringList({"ANA", "RUA A", "RS", "MASCULINO"}));
        QCOMPARE(photoClicks, 0);

        for (QWidget *c : controls)
            DataControl::setEditable(c, true);
        QVERIFY(!announcedReadOnly(uf) && !announcedReadOnly(sex->button(0)));
        QCOMPARE(useEveryControl(), QStringList({"ANAX", "RUA AX", "PR", "FEMININO"}));
        QCOMPARE(photoClicks, 1);

        QPushButton button("Buscar");
        DataControl::setEditable(&button, false);
        QVERIFY(!button.isEnabled());
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
