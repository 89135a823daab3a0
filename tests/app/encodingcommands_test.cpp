// Pages in UTF-8, EUC-JP and ISO-2022-JP beside Shift_JIS: opened readable,
// saved as they came, named in the status bar, reopened and copied in
// another encoding from the 文字コード menu, made Shift_JIS by "S-Jis変換".
#include "app/documentload.h"
#include "app/documents.h"
#include "app/mainlayout.h"
#include "app/recovery.h"
#include "charset/encodings.h"
#include "support/mainwindow.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTest>

namespace {

using charset::Encoding;
using Encodings = MainWindowTest;

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

const QString kJapanese = QStringLiteral("<P>日本語</P>");

struct Sample {
    Encoding encoding;
    QByteArray bytes;   // "<P>日本語</P>" and a break in the encoding, by hand
};

const Sample kSamples[] = {
    {Encoding::ShiftJis, "<P>\x93\xfa\x96\x7b\x8c\xea</P>\r\n"},
    {Encoding::Utf8, "<P>\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e</P>\n"},
    {Encoding::Utf8Bom, "\xef\xbb\xbf<P>\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e</P>\r\n"},
    {Encoding::EucJp, "<P>\xc6\xfc\xcb\xdc\xb8\xec</P>\n"},
    {Encoding::Iso2022Jp, "<P>\x1b$B\x46\x7c\x4b\x5c\x38\x6c\x1b(B</P>\r\n"},
};

TEST_F(Encodings, EachOpensReadableShowsItsNameAndSavesAsItCame)
{
    TFmMain& m = makeWindow();
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(charset::encodingName(s.encoding).toStdString());
        const QString p = path(QStringLiteral("page%1.htm").arg(int(s.encoding)));
        ASSERT_TRUE(writeBytes(p, s.bytes));
        prompts.answerOpen(p);
        m.action("MOpen")->trigger();
        ASSERT_EQ(m.currentDocument()->path, p);
        EXPECT_EQ(currentText(), kJapanese + u'\n');
        EXPECT_EQ(m.statusPanel(TFmMain::kEncodingPanel), charset::encodingName(s.encoding));

        // Unedited: the same bytes; edited: the edit in the same encoding.
        QString error;
        ASSERT_TRUE(m.documents().save(*m.currentDocument(), &error)) << error.toStdString();
        EXPECT_EQ(readBytes(p), s.bytes);
        QTest::keyClick(m.CurrentEdit(), Qt::Key_End, Qt::ControlModifier);
        m.CurrentEdit()->insertPlainText(QStringLiteral("語"));
        m.action("MSave")->trigger();
        EXPECT_EQ(charset::decode(readBytes(p), s.encoding), charset::decode(s.bytes, s.encoding) + u'語');
    }
    // Another tab shows its own encoding; no document, no name.
    m.editControl()->setCurrentIndex(1);
    EXPECT_EQ(m.statusPanel(TFmMain::kEncodingPanel), QStringLiteral("UTF-8"));
    m.action("MAllDelete")->trigger();
    EXPECT_EQ(m.statusPanel(TFmMain::kEncodingPanel), QString());
}

// Random bytes in each encoding (valid text, broken sequences, every kind
// of break) filled in small pieces, and a big file loaded in steps, hold
// the same text as the file decoded at once and save back to its bytes.
TEST_F(Encodings, PiecesAndStepsReadAsTheWholeAndSaveItsBytes)
{
    QRandomGenerator rng(22);
    const QString sample = QStringLiteral("<A HREF=\"x\">日本語のページ</A> ~");
    for (Encoding e : {Encoding::Utf8, Encoding::Utf8Bom, Encoding::EucJp, Encoding::Iso2022Jp}) {
        SCOPED_TRACE(charset::encodingName(e).toStdString());
        QByteArray bytes = e == Encoding::Utf8Bom ? QByteArray("\xef\xbb\xbf") : QByteArray();
        const std::optional<QByteArray> encoded =
            charset::encode(sample, e == Encoding::Utf8Bom ? Encoding::Utf8 : e);
        ASSERT_TRUE(encoded);
        const QByteArray good = *encoded;
        static const char* const kBreaks[] = {"\r\n", "\n", "\r"};
        for (int i = 0; i < 400; ++i) {
            const int k = int(rng.bounded(6));
            if (k < 3)
                bytes += good.first(int(rng.bounded(good.size() + 1)));   // often cut mid-character
            else if (k == 3)
                bytes += char(0x80 + rng.bounded(0x80));
            else
                bytes += kBreaks[rng.bounded(3)];
        }
        const charset::DocumentText whole = charset::decodeDocument(bytes, e);
        QPlainTextEdit edit;
        const FillResult r = fillEditor(edit, bytes, 7, {}, e);
        EXPECT_EQ(editorText(edit), whole.text);
        sjis::EncodeError error;
        EXPECT_EQ(documentBytes(edit, r.lineBreak, r.mixedBreaks, &error, e), bytes);
    }

    // Over the size that loads in steps: UTF-8 with a byte-order mark (which
    // alone makes broken bytes UTF-8's), long lines and mixed breaks.
    QByteArray big = "\xef\xbb\xbf";
    const QByteArray line = QStringLiteral("<TD>日本語 %1</TD>").toUtf8();
    for (int i = 0; big.size() <= DocumentLoad::kAtOnceBytes + (1 << 20); ++i) {
        big += line;
        big += i % 97 == 0 ? QByteArray(3000, 'x') + "\xe6\x97" : QByteArray();
        big += i % 5 == 0 ? "\r\n" : i % 7 == 0 ? "\r" : "\n";
    }
    const QString p = path(QStringLiteral("big.htm"));
    ASSERT_TRUE(writeBytes(p, big));
    TFmMain& m = makeWindow();
    QString error;
    const Result<Document*> opened = m.documents().open(p);
    error = opened.message();
    Document* doc = opened.value();
    ASSERT_NE(doc, nullptr) << error.toStdString();
    EXPECT_EQ(doc->encoding, Encoding::Utf8Bom);
    ASSERT_NE(DocumentLoad::of(doc->edit->document()), nullptr) << "loads in steps";
    EXPECT_TRUE(m.documents().save(*doc, &error)) << error.toStdString();
    EXPECT_EQ(readBytes(p), big);
    EXPECT_EQ(editorText(*doc->edit), charset::decodeDocument(big, Encoding::Utf8Bom).text);
}

// Through the menus as a user goes: ﾌｧｲﾙ → 文字コード → 開き直す → EUC-JP.
TEST_F(Encodings, ReopenInAnEncodingAsksFirstAndKeepsTheTabsPlace)
{
    TFmMain& m = makeWindow(true);
    const QString p = path(QStringLiteral("euc.htm"));
    // EUC-JP that reads as (wrong) Shift_JIS too; the page says nothing.
    const QByteArray euc = "<P>\xc6\xfc\xcb\xdc\xb8\xec</P>";
    ASSERT_TRUE(writeBytes(p, euc));
    m.NewDocument();
    Document* doc = m.documents().open(p, {}, Encoding::ShiftJis).value();
    ASSERT_NE(doc, nullptr);
    m.NewDocument();
    m.editControl()->setCurrentWidget(doc->tab);
    m.CurrentEdit()->insertPlainText(QStringLiteral("x"));

    auto reopenInEuc = [&] {
        QMenu* file = m.menu("File1");
        file->popup(m.mapToGlobal(QPoint(0, 0)));
        QTest::keyClick(file, Qt::Key_E);
        QMenu* charsetMenu = m.menu("MCharset");
        ASSERT_TRUE(charsetMenu->isVisible());
        QTest::keyClick(charsetMenu, Qt::Key_R);
        QMenu* reopen = m.menu("MReopenAs");
        ASSERT_TRUE(reopen->isVisible());
        EXPECT_TRUE(m.action("MReopenIn0")->isChecked());   // Shift_JIS now
        QTest::keyClick(reopen, Qt::Key_E);
    };
    prompts.answerMessage(Prompts::Answer::No);
    reopenInEuc();
    EXPECT_TRUE(prompts.messages().last().contains(QStringLiteral("変更を破棄して EUC-JP で開き直しますか")));
    EXPECT_EQ(m.currentDocument(), doc) << "No keeps the document and its change";
    EXPECT_TRUE(currentText().startsWith(u'x'));

    prompts.answerMessage(Prompts::Answer::Yes);
    reopenInEuc();
    ASSERT_NE(m.currentDocument(), nullptr);
    EXPECT_EQ(currentText(), QStringLiteral("<P>日本語</P>"));
    EXPECT_EQ(m.editControl()->currentIndex(), 1) << "in the tab's old place";
    EXPECT_EQ(m.editControl()->count(), 3);
    EXPECT_EQ(m.statusPanel(TFmMain::kEncodingPanel), QStringLiteral("EUC-JP"));
    EXPECT_FALSE(m.currentDocument()->modified());
    EXPECT_TRUE(prompts.exhausted());
}

TEST_F(Encodings, ACopyInAnotherEncodingLeavesTheDocumentAndRefusesWhatItCannotHold)
{
    TFmMain& m = makeWindow();
    m.NewDocument();
    m.CurrentEdit()->setPlainText(QStringLiteral("<P>日本語</P>\n<P>2</P>"));
    const QString copy = path(QStringLiteral("copy.htm"));
    prompts.answerSave(copy);
    m.action("MSaveCopyIn1")->trigger();
    EXPECT_EQ(readBytes(copy), QStringLiteral("<P>日本語</P>\r\n<P>2</P>").toUtf8());
    EXPECT_EQ(m.currentDocument()->encoding, Encoding::ShiftJis);
    EXPECT_FALSE(m.currentDocument()->hasFile);

    // EUC-JP has no emoji: refused with where, and no dialog, no file.
    m.CurrentEdit()->appendPlainText(QStringLiteral("ab😀"));
    prompts.answerMessage(Prompts::Answer::Ok);
    m.action("MSaveCopyIn3")->trigger();
    ASSERT_FALSE(prompts.messages().isEmpty());
    EXPECT_TRUE(prompts.messages().last().contains(QStringLiteral("EUC-JP"))) << prompts.messages().last().toStdString();
    EXPECT_TRUE(prompts.messages().last().contains(QStringLiteral("3 行 3 列目"))) << "says where";
    EXPECT_TRUE(prompts.exhausted());

    // Over its own file: the document is saved in, and from now on kept in, UTF-8 with a BOM.
    const QString own = path(QStringLiteral("own.htm"));
    m.CurrentEdit()->setPlainText(QStringLiteral("<P>日本語</P>"));
    prompts.answerSave(own);
    m.action("MSaveAs")->trigger();
    prompts.answerSave(own);
    prompts.answerMessage(Prompts::Answer::Yes);   // replace it?
    m.action("MSaveCopyIn2")->trigger();
    EXPECT_EQ(readBytes(own), "\xef\xbb\xbf" + QStringLiteral("<P>日本語</P>").toUtf8());
    EXPECT_EQ(m.statusPanel(TFmMain::kEncodingPanel), QStringLiteral("UTF-8 (BOM)"));
    EXPECT_FALSE(m.currentDocument()->modified());
}

TEST_F(Encodings, SjisCommandTurnsAUtf8PageIntoShiftJisOrSaysWhereItCannot)
{
    TFmMain& m = makeWindow();
    const QString p = path(QStringLiteral("u.htm"));
    const QString page = QStringLiteral("<META charset=\"utf-8\">\n<P>日本語</P>\n");
    ASSERT_TRUE(writeBytes(p, page.toUtf8() + QStringLiteral("<P>😀</P>").toUtf8()));
    Document* doc = m.documents().open(p).value();
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->encoding, Encoding::Utf8);
    prompts.answerMessage(Prompts::Answer::Ok);
    m.action("MSjis")->trigger();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("3"))) << prompts.messages()[0].toStdString();
    EXPECT_EQ(doc->encoding, Encoding::Utf8);
    EXPECT_FALSE(doc->modified());

    m.CurrentEdit()->setPlainText(page);
    m.action("MSjis")->trigger();
    EXPECT_EQ(doc->encoding, Encoding::ShiftJis);
    EXPECT_EQ(m.statusPanel(TFmMain::kEncodingPanel), QStringLiteral("Shift_JIS"));
    m.action("MSave")->trigger();
    EXPECT_EQ(readBytes(p), "<META charset=\"Shift_JIS\">\n<P>\x93\xfa\x96\x7b\x8c\xea</P>\n");
}

TEST_F(Encodings, NewDocumentsInUtf8IsKeptInTheSettings)
{
    {
        TFmMain& m = makeWindow();
        m.NewDocument();
        EXPECT_EQ(m.statusPanel(TFmMain::kEncodingPanel), QStringLiteral("Shift_JIS"));
        m.action("MNewUtf8")->trigger();
        m.NewDocument();
        EXPECT_EQ(m.currentDocument()->encoding, Encoding::Utf8);
        EXPECT_EQ(m.statusPanel(TFmMain::kEncodingPanel), QStringLiteral("UTF-8"));
        ASSERT_TRUE(m.SaveSettings());
        w.reset();
    }
    EXPECT_TRUE(readBytes(iniPath()).contains("[Charset]\r\nNew=UTF-8\r\n"));
    TFmMain& m = makeWindow();
    EXPECT_TRUE(m.action("MNewUtf8")->isChecked());

    // The new-page builder's page says it is UTF-8, and is saved so.
    prompts.answerDialog([](QDialog& d) {
        d.findChild<QPushButton*>(QStringLiteral("BtnOk"))->click();
        return d.result();
    });
    m.action("MNew")->trigger();
    ASSERT_NE(m.currentDocument(), nullptr);
    EXPECT_EQ(m.currentDocument()->encoding, Encoding::Utf8);
    EXPECT_TRUE(currentText().contains(
        QStringLiteral("<HEAD>\n<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\n")));
    const QString p = path(QStringLiteral("new.htm"));
    m.CurrentEdit()->insertPlainText(QStringLiteral("日本語"));
    prompts.answerSave(p);
    m.action("MSave")->trigger();
    QString want = currentText();
    want.replace(u'\n', QStringLiteral("\r\n"));
    EXPECT_TRUE(want.contains(QStringLiteral("日本語")));
    EXPECT_EQ(readBytes(p), want.toUtf8());
}

TEST(RecoveryFormat, TheEncodingComesBackAndAnUnknownOneIsShiftJis)
{
    const QByteArray bytes = RecoveryStore::format(QStringLiteral("/x/a.htm"), true, sjis::LineBreak::Lf,
                                                   QStringLiteral("日本"), {}, Encoding::EucJp);
    const std::optional<RecoveredDocument> d = RecoveryStore::parse(bytes);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->encoding, Encoding::EucJp);
    QByteArray odd = bytes;
    odd.replace("encoding=EUC-JP", "encoding=KOI8-R");
    EXPECT_EQ(RecoveryStore::parse(odd)->encoding, Encoding::ShiftJis);
    EXPECT_EQ(RecoveryStore::parse(odd)->text, QStringLiteral("日本"));
}

} // namespace
