// The settings file: its format, read rules, and how the main window applies
// and writes it.
#include "composition.h"
#include "app/settings.h"
#include "charset/sjis.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

namespace {

QString fileText(const QString& path)
{
    return sjis::decode(readAll(path));
}

} // namespace

TEST(SettingsFormat, WritesEverySectionAndKeyInOrderWithCrLf)
{
    Settings s;
    s.fontType = QStringLiteral("ＭＳ Ｐゴシック");
    s.fontSize = 9;
    s.color = 0;
    s.bkColor = 15;
    s.input = 1;
    s.mr = {QStringLiteral("(なし)"), QStringLiteral("(なし)"), QStringLiteral("/tmp/a.htm"),
            QStringLiteral("(なし)"), QStringLiteral("(なし)")};
    s.sizeX = 640;
    s.sizeY = 465;
    const QByteArray out = formatSettings(s);
    const QString text = sjis::decode(out);
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Font]\r\nType=ＭＳ Ｐゴシック\r\nSize=9\r\nColor=0\r\nBkColor=15\r\n")));
    EXPECT_FALSE(out.contains("\n\n")) << "no bare LF";
    // Sections appear in the file's fixed order.
    QStringList order;
    for (const QString& line : text.split(QStringLiteral("\r\n")))
        if (line.startsWith(u'['))
            order << line;
    EXPECT_EQ(order, (QStringList{"[Font]", "[Key]", "[Tool]", "[MR]", "[MTag]", "[File]",
                                  "[MKey]", "[MTree]", "[Size]", "[View]", "[Charset]"}));
    EXPECT_TRUE(text.contains(QStringLiteral("[MR]\r\n1=(なし)\r\n2=(なし)\r\n3=/tmp/a.htm\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("[MKey]\r\n0=\r\n1=\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("16=\r\n[MTree]") ) || text.contains(QStringLiteral("16=\r\n\r\n[MTree]")));
    EXPECT_TRUE(text.contains(QStringLiteral("[Size]\r\nX=640\r\nY=465\r\n\r\n[View]\r\nColoring=-1\r\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n\r\n[Charset]\r\nNew=\r\n")));
    // Shift_JIS on disk.
    EXPECT_TRUE(out.contains(QByteArray("Type=\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e")));

    // What is written reads back the same.
    const Settings back = parseSettings(out);
    EXPECT_EQ(back.fontType, s.fontType);
    EXPECT_EQ(back.bkColor, 15);
    EXPECT_EQ(back.mr[2], QStringLiteral("/tmp/a.htm"));
    EXPECT_EQ(back.sizeY, 465);
    EXPECT_EQ(back.wordWrap, -1);
}

TEST(SettingsFormat, ReadRulesForOddFiles)
{
    using namespace std::string_literals;
    const std::string file =
        "garbage line without equals\r\n"
        "X=5\r\n"                       // before any section: ignored
        "[size]\n"                      // section and key names ignore case
        "x=800\n"
        "X=900\n"                       // the first occurrence wins
        "Y=abc\r"                       // not a number: absent
        "[Font]\r\n"
        "Size= 12 \r\n"
        "Color=16\r\n"
        "BkColor=-1\r\n"
        "Type=\x82\xa0\r\n"             // あ in Shift_JIS
        "[Key]\r\n"
        "Input=5\r\n"
        "[MR]\r\n"
        "1=C:\\web\\a.htm\r\n"
        "2=\r\n"
        "3=bin\0ary\r\n"                // a line holding NUL is skipped
        "[MTree\r\n"                    // broken section header: skipped with its keys
        "Tree=/x.lot\r\n"s;             // one literal: no operator+ for GCC 12's bogus -Warray-bounds
    const Settings s = parseSettings(QByteArrayView(file.data(), qsizetype(file.size())));
    EXPECT_EQ(s.sizeX, 800);
    EXPECT_EQ(s.sizeY, -1);
    EXPECT_EQ(s.fontSize, 12);
    EXPECT_EQ(s.color, 16);
    EXPECT_EQ(s.bkColor, -1);
    EXPECT_EQ(s.fontType, QStringLiteral("あ"));
    EXPECT_EQ(s.input, 5);
    EXPECT_EQ(s.mr[0], QStringLiteral("C:\\web\\a.htm"));
    EXPECT_TRUE(s.mr[1].isEmpty());
    EXPECT_TRUE(s.mr[2].isEmpty());
    EXPECT_TRUE(s.tree.isEmpty());
}

TEST(SettingsFormat, BinaryAndOverlongInputIsHarmless)
{
    QByteArray junk;
    for (int i = 0; i < 200000; ++i)
        junk += char((i * 7919) & 0xFF);
    junk += "\r\n[Size]\r\nX=" + QByteArray(kMaxSettingsLineBytes + 10, '7') + "\r\nX=700\r\n";
    const Settings s = parseSettings(junk);
    EXPECT_EQ(s.sizeX, 700) << "the overlong line is skipped, the next one read";
    EXPECT_EQ(parseSettings(QByteArray()).sizeX, -1);
}

TEST(SettingsFormat, AValueThatCannotBeWrittenKeepsWhatTheFileHeld)
{
    Settings before;
    before.mr[0] = QStringLiteral("/tmp/old.htm");
    before.mr[1] = QStringLiteral("/tmp/older.htm");
    before.directory = QStringLiteral("/home/u/web");
    before.mkey[10] = QStringLiteral("<PRE></PRE>");
    Settings s = before;
    s.mr[0] = QStringLiteral("/tmp/two\nlines.htm");
    s.mr[1] = QStringLiteral("/tmp/caf\u00e9.htm");   // é: not in Shift_JIS
    s.mr[2] = QStringLiteral("/tmp/ok.htm");
    s.directory = QStringLiteral("/home/u/\u00e9t\u00e9");
    s.mkey[10] = QStringLiteral("<P>caf\u00e9</P>");
    s.mkey[11] = QStringLiteral("\u20ac");           // no earlier value: stays absent
    s.tree = QStringLiteral("/tmp/t\u0000.lot");
    QStringList kept;
    const Settings back = parseSettings(formatSettings(s, before, &kept));
    EXPECT_EQ(kept, (QStringList{"MR/1", "MR/2", "File/Directory", "MKey/10", "MKey/11", "MTree/Tree"}));
    EXPECT_EQ(back.mr[0], QStringLiteral("/tmp/old.htm"));
    EXPECT_EQ(back.mr[1], QStringLiteral("/tmp/older.htm"));
    EXPECT_EQ(back.mr[2], QStringLiteral("/tmp/ok.htm"));
    EXPECT_EQ(back.directory, QStringLiteral("/home/u/web"));
    EXPECT_EQ(back.mkey[10], QStringLiteral("<PRE></PRE>"));
    EXPECT_TRUE(back.mkey[11].isEmpty());
    EXPECT_TRUE(back.tree.isEmpty());

    EXPECT_TRUE(settingsTextProblem(QStringLiteral("<P>\u3000")).isEmpty());
    EXPECT_EQ(settingsTextProblem(QStringLiteral("<P>caf\u00e9</P>")),
              QStringLiteral("1 行 7 列目の文字「\u00e9」(U+00E9) は Shift_JIS で保存できません。"));
    EXPECT_FALSE(settingsTextProblem(QStringLiteral("a\rb")).isEmpty());
}

TEST(SettingsFormat, BlanksAtEitherEndOfAValueSurviveWritingAndReading)
{
    const QString values[] = {
        QStringLiteral("<P>\u3000"), QStringLiteral("\u3000<P>"), QStringLiteral(" <B> </B> "),
        QStringLiteral("\t<TD>\t"),  QStringLiteral("  "),         QStringLiteral("\u3000"),
        QStringLiteral("\t \u3000x\u3000 \t"), QStringLiteral("=a=b= "),
    };
    for (const QString& v : values) {
        Settings s;
        s.fontType = v;
        s.mr[4] = v;
        s.mtag[9] = v;
        s.directory = v;
        s.mkey[9] = v;
        s.tree = v;
        const QByteArray bytes = formatSettings(s);
        const Settings back = parseSettings(bytes);
        EXPECT_EQ(back.fontType, v) << bytes.toStdString();
        EXPECT_EQ(back.mr[4], v);
        EXPECT_EQ(back.mtag[9], v);
        EXPECT_EQ(back.directory, v);
        EXPECT_EQ(back.mkey[9], v);
        EXPECT_EQ(back.tree, v);
    }
    // Full-width space in Shift_JIS at the end of a line, and blanks around
    // names, which mean nothing.
    const Settings s = parseSettings("  [MKey]  \r\n 9 =<P>\x81\x40\r\n\t10\t= x\t\r\n");
    EXPECT_EQ(s.mkey[9], QStringLiteral("<P>\u3000"));
    EXPECT_EQ(s.mkey[10], QStringLiteral(" x\t"));
}

TEST(SettingsFile, AnUnwritableValueLeavesTheStoredOneOnDisk)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("q.ini"));
    Settings s;
    s.mkey[10] = QStringLiteral("<PRE>\u3000</PRE>");
    ASSERT_TRUE(saveSettingsFile(ini, s));
    s.mkey[10] = QStringLiteral("<P>caf\u00e9</P>");
    QStringList kept;
    ASSERT_TRUE(saveSettingsFile(ini, s, nullptr, &kept));
    EXPECT_EQ(kept, QStringList{QStringLiteral("MKey/10")});
    EXPECT_TRUE(readAll(ini).contains("\r\n10=<PRE>\x81\x40</PRE>\r\n")) << readAll(ini).toStdString();
}

TEST(SettingsFormat, ColourTable)
{
    EXPECT_EQ(settingsColor(0), QColor(0, 0, 0));
    EXPECT_EQ(settingsColor(6), QColor(0, 0x80, 0x80));
    EXPECT_EQ(settingsColor(8), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(settingsColor(15), QColor(255, 255, 255));
    EXPECT_FALSE(settingsColor(16).isValid());
    EXPECT_FALSE(settingsColor(-1).isValid());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(settingsColorIndex(settingsColor(i)), i);
    EXPECT_EQ(settingsColorIndex(QColor(1, 2, 3)), -1);
}

using SettingsWindow = MainWindowTest;

TEST_F(SettingsWindow, NoFileGivesDefaultsAndClosingWritesEveryKey)
{
    TFmMain& m = makeWindow(true);
    EXPECT_EQ(m.width(), 640);
    EXPECT_EQ(m.height(), 465);
    EXPECT_TRUE(m.findChild<QWidget*>("ToolBar")->isVisible());
    EXPECT_TRUE(m.findChild<QWidget*>("ToolPanel")->isVisible());
    EXPECT_FALSE(m.findChild<QWidget*>("SearchPanel")->isVisible());
    EXPECT_FALSE(m.findChild<QWidget*>("FKBar")->isVisible());
    EXPECT_TRUE(m.action("MInput")->isChecked());
    EXPECT_FALSE(m.action("MWordWrap")->isChecked());
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(m.action(QStringLiteral("MR%1").arg(i).toLatin1())->text(), QStringLiteral("(なし)"));
    EXPECT_EQ(m.editorLook().font.pointSize(), 9);
    EXPECT_EQ(m.editorLook().bkColor, QColor(255, 255, 255));

    QFile::remove(iniPath());
    ASSERT_TRUE(m.close());
    const QString text = fileText(iniPath());
    for (const char* key : {"Type=", "Size=9", "Color=0", "BkColor=15", "Input=1", "WordWrap=1",
                            "Bar=0", "Build=0", "Search=1", "Function=1", "1=(なし)", "5=(なし)",
                            "0=（未登録）", "9=（未登録）", "Drive=0", "Directory=", "16=<!-- -->",
                            "0=<A HREF=\"\"></A>", "Tree=", "X=640", "Y=465", "Coloring=1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(key))) << key;
}

TEST_F(SettingsWindow, InvertedFlagsAndOddValues)
{
    ASSERT_TRUE(writeAll(iniPath(), "[Font]\r\nColor=16\r\nBkColor=4\r\nSize=14\r\nType=IPAGothic\r\n"
                                    "[Key]\r\nInput=5\r\nWordWrap=0\r\n"
                                    "[Tool]\r\nBar=1\r\nBuild=1\r\nSearch=0\r\nFunction=0\r\n"
                                    "[MR]\r\n2=/tmp/x.htm\r\n"
                                    "[MTag]\r\n3=<B></B>\r\n"
                                    "[MKey]\r\n1=<BR>\r\n"
                                    "[Size]\r\nX=800\r\nY=oops\r\n"));
    TFmMain& m = makeWindow(true);
    EXPECT_TRUE(m.action("MInput")->isChecked()) << "only 0 turns input assistance off";
    EXPECT_TRUE(m.action("MWordWrap")->isChecked()) << "WordWrap=0 means on";
    EXPECT_FALSE(m.action("MToolbar")->isChecked());
    EXPECT_FALSE(m.findChild<QWidget*>("ToolBar")->isVisible());
    EXPECT_FALSE(m.findChild<QWidget*>("ToolPanel")->isVisible());
    EXPECT_TRUE(m.findChild<QWidget*>("SearchPanel")->isVisible());
    EXPECT_TRUE(m.findChild<QWidget*>("FKBar")->isVisible());
    EXPECT_EQ(m.editorLook().color, QApplication::palette().color(QPalette::Text)) << "16 keeps the default";
    EXPECT_EQ(m.editorLook().bkColor, QColor(0, 0, 0x80));
    EXPECT_EQ(m.editorLook().font.pointSize(), 14);
    EXPECT_EQ(m.editorLook().font.families().value(0), QStringLiteral("IPAGothic"));
    EXPECT_EQ(m.action("MR2")->text(), QStringLiteral("/tmp/x.htm"));
    EXPECT_EQ(m.action("MR1")->text(), QStringLiteral("(なし)"));
    EXPECT_EQ(m.action("MTag3")->text(), QStringLiteral("<B></B>"));
    EXPECT_TRUE(m.action("MTag3")->isVisible());
    EXPECT_FALSE(m.action("MTag4")->isVisible());
    EXPECT_EQ(m.action("CT2")->text(), QStringLiteral("<BR>"));
    EXPECT_EQ(m.width(), 800);
    EXPECT_EQ(m.height(), 465);

    // A new document takes word wrap and the editor look.
    Document& d = m.NewDocument();
    EXPECT_EQ(d.edit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(d.edit->palette().color(QPalette::Base), QColor(0, 0, 0x80));
}

TEST_F(SettingsWindow, LoadingDoesNotWriteButEveryResizeDoes)
{
    ASSERT_TRUE(writeAll(iniPath(), "[Size]\r\nX=700\r\nY=500\r\n"));
    TFmMain& m = makeWindow(true);
    EXPECT_EQ(readAll(iniPath()), QByteArray("[Size]\r\nX=700\r\nY=500\r\n"));
    m.resize(720, 480);
    QApplication::processEvents();
    EXPECT_TRUE(fileText(iniPath()).contains(QStringLiteral("X=720\r\nY=480")));
    m.resize(730, 480);
    QApplication::processEvents();
    EXPECT_TRUE(fileText(iniPath()).contains(QStringLiteral("X=730\r\n")));
}

TEST_F(SettingsWindow, UnwritableFolderUsesTheFallbackAndAFailureIsToldOnce)
{
    // The folder beside the executable cannot be written: the fallback file is used.
    const QString ro = path(QStringLiteral("ro"));
    QDir().mkpath(ro);
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool canStillWrite = QFileInfo(ro).isWritable(); // root ignores permissions
    {
        TFmMain::Options o;
        o.compose = composeUnits;
        o.settingsPath = ro + QStringLiteral("/quillnest4.ini");
        o.fallbackSettingsPath = path(QStringLiteral("config/quillnest4/quillnest4.ini"));
        o.clock = &clock;
        TFmMain m(prompts, o);
        if (!canStillWrite) {
            EXPECT_EQ(m.settingsPath(), o.fallbackSettingsPath);
            EXPECT_TRUE(m.SaveSettings());
            EXPECT_TRUE(QFileInfo::exists(o.fallbackSettingsPath));
        }
    }
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // No place can be written (the path's folder is a file): one message per run.
    writeAll(path(QStringLiteral("notadir")), "x");
    TFmMain::Options o;
    o.compose = composeUnits;
    o.settingsPath = path(QStringLiteral("notadir/quillnest4.ini"));
    o.clock = &clock;
    TFmMain m(prompts, o);
    prompts.answerMessage(Prompts::Answer::Ok);
    EXPECT_FALSE(m.SaveSettings());
    EXPECT_FALSE(m.SaveSettings());
    m.resize(900, 600);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("notadir")));
}

TEST_F(SettingsWindow, ARecentPathTheFileCannotHoldLeavesTheStoredEntry)
{
    ASSERT_TRUE(writeAll(iniPath(), "[MR]\r\n1=/old/a.htm\r\n2=/old/b.htm\r\n"));
    TFmMain& m = makeWindow(true);
    m.NewDocument();
    const QString file = path(QStringLiteral("caf\u00e9.htm"));
    prompts.answerSave(file);
    m.action("MSaveAs")->trigger();
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(m.action("MR1")->text(), file) << "listed for this run";
    const QString text = fileText(iniPath());
    EXPECT_TRUE(text.contains(QStringLiteral("[MR]\r\n1=/old/a.htm\r\n2=/old/b.htm\r\n"))) << text.toStdString();

    w.reset();
    TFmMain& again = makeWindow();
    EXPECT_EQ(again.action("MR1")->text(), QStringLiteral("/old/a.htm"));
    EXPECT_EQ(again.action("MR2")->text(), QStringLiteral("/old/b.htm"));
}
