#include "tagtree/lotfile.h"
#include "tagtree/treeutil.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Loaded {
    QString tree;
    LotReadResult result;
};

Loaded load(QByteArrayView bytes)
{
    TagTree tree;
    Loaded l;
    l.result = readLot(bytes, tree);
    l.tree = outline(tree);
    return l;
}

QByteArray save(const TagTree& tree)
{
    auto bytes = formatLot(tree);
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or(QByteArray());
}

} // namespace

TEST(LotRead, EmptyInputsGiveAnEmptyTree)
{
    for (QByteArray bytes : {QByteArray(), QByteArray("\0", 1), QByteArray("\0A\r\nB", 5)}) {
        const Loaded l = load(bytes);
        EXPECT_EQ(l.tree, QString());
        EXPECT_FALSE(l.result.levelError);
    }
}

TEST(LotRead, LevelRules)
{
    EXPECT_EQ(load("A\r\n\tB\r\n\t\tC\r\nD\r\n\tE\r\n").tree, "A|.B|..C|D|.E");
    // The first line is top-level whatever its indentation; the next line
    // compares with level 0.
    EXPECT_EQ(load("\tA\r\n\tB\r\n").tree, "A|.B");
    EXPECT_EQ(load("\t\t\tA\r\nB\r\n").tree, "A|B");
    // Going up several levels at once.
    EXPECT_EQ(load("A\n\tB\n\t\tC\n\t\t\tD\n\tE\nF\n").tree, "A|.B|..C|...D|.E|F");
    // Spaces count like TABs and may be mixed.
    EXPECT_EQ(load("A\n B\n \tC\n\t D\n  E\n").tree, "A|.B|..C|..D|..E");
}

TEST(LotRead, LineEnds)
{
    EXPECT_EQ(load("A\r\n\tB\r\n").tree, "A|.B");
    EXPECT_EQ(load("A\n\tB\n").tree, "A|.B");
    EXPECT_EQ(load("A\r\tB\r").tree, "A|.B");
    // LF CR is two line ends with an empty line between.
    EXPECT_EQ(load("A\n\rB").tree, "A||B");
    // A last line without line end counts; the final line end adds nothing.
    EXPECT_EQ(load("A\r\nB").tree, "A|B");
    EXPECT_EQ(load("A\r\n\r\n").tree, "A|");
    // A NUL ends the text.
    EXPECT_EQ(load(QByteArray("A\r\nB\0C\r\nD\r\n", 11)).tree, "A|B");
}

TEST(LotRead, BlankLinesAndTrailingBlanks)
{
    // A blank-only line is an empty node at its blank count's level.
    EXPECT_EQ(load("A\r\n\t\r\n\t\t\r\n").tree, "A|.|..");
    EXPECT_EQ(load("A  \r\n\tB\t\r\n").tree, "A  |.B\t");
    const Loaded l = load("A\r\n\t\t\t\r\n");
    ASSERT_TRUE(l.result.levelError);
    EXPECT_EQ(l.result.levelError->text, QString());
    EXPECT_EQ(l.result.levelError->level, 3);
}

TEST(LotRead, LevelErrorKeepsEarlierNodes)
{
    const Loaded l = load("A\r\n\t\tB\r\nC\r\n");
    EXPECT_EQ(l.tree, "A");
    ASSERT_TRUE(l.result.levelError);
    EXPECT_EQ(l.result.levelError->line, 2);
    EXPECT_EQ(lotLevelErrorMessage(*l.result.levelError),
              QStringLiteral("アイテム \"B\" の階層 (2) が不正です"));

    const Loaded deeper = load("A\n\tB\n\t\tC\n\t\t\t\t X\nD\n");
    EXPECT_EQ(deeper.tree, "A|.B|..C");
    EXPECT_EQ(deeper.result.levelError->level, 5);
    EXPECT_EQ(deeper.result.nodes, 3);

    // A megabyte line is quoted shortened.
    // The line's text appears exactly, percent signs and all.
    EXPECT_EQ(lotLevelErrorMessage(LotLevelError{QStringLiteral("<A HREF=\"a%2Fb%1.htm\">"), 3, 5}),
              QStringLiteral("アイテム \"<A HREF=\"a%2Fb%1.htm\">\" の階層 (3) が不正です"));
    LotLevelError big{QString(1 << 20, u'x'), 7, 2};
    EXPECT_LT(lotLevelErrorMessage(big).size(), 300);
}

TEST(LotRead, ShiftJisTextIsKeptByteForByte)
{
    // "見出し" in Shift_JIS, then bytes that are no valid Shift_JIS.
    const QByteArray bytes("\x8c\xa9\x8f\x6f\x82\xb5\r\n\t\x81\r\n\t\xff\xfe\x80\r\n");
    TagTree tree;
    readLot(bytes, tree);
    ASSERT_EQ(tree.topLevel().size(), 1u);
    EXPECT_EQ(tree.topLevel()[0]->text, QStringLiteral("見出し"));
    EXPECT_EQ(save(tree), bytes);
}

TEST(LotWrite, FormatAndRoundTrip)
{
    TagTree tree;
    EXPECT_EQ(save(tree), QByteArray());
    buildOutline(tree, "<HTML></HTML>|.<HEAD></HEAD>|.<BODY></BODY>");
    EXPECT_EQ(save(tree), QByteArray("<HTML></HTML>\r\n\t<HEAD></HEAD>\r\n\t<BODY></BODY>\r\n"));

    // LF and space-indented input is written back with TABs and CR LF.
    TagTree lf;
    readLot("A\n B\n C\n", lf);
    EXPECT_EQ(save(lf), QByteArray("A\r\n\tB\r\n\tC\r\n"));

    // A character Shift_JIS cannot hold is reported with its line.
    TagTree bad;
    buildOutline(bad, "A|.B|..x\U0001F600");
    sjis::EncodeError e;
    EXPECT_FALSE(formatLot(bad, &e));
    EXPECT_EQ(e.line, 3);
}

TEST(LotWrite, RandomTreesSurviveSaveAndLoad)
{
    QRandomGenerator rng(4242);
    const QStringList pieces{"<A>", "</A>", "見出し", "ﾀｸﾞ", "x y", "", "\t", " ", ">", QString(QChar(sjis::rawByteChar(0xFF)))};
    for (int round = 0; round < 200; ++round) {
        TagTree tree;
        std::vector<TagNode*> all;
        const int count = rng.bounded(1, 60);
        for (int i = 0; i < count; ++i) {
            TagNode* parent = all.empty() || rng.bounded(4) == 0 ? nullptr : all[rng.bounded(int(all.size()))];
            QString text;
            for (int k = rng.bounded(4); k > 0; --k)
                text += pieces[rng.bounded(int(pieces.size()))];
            // Leading blanks are read as levels: the one documented exception.
            while (!text.isEmpty() && (text.front() == u'\t' || text.front() == u' '))
                text.remove(0, 1);
            all.push_back(tree.append(parent, text));
        }
        const QByteArray bytes = save(tree);
        TagTree back;
        const LotReadResult r = readLot(bytes, back);
        ASSERT_FALSE(r.levelError);
        ASSERT_EQ(outline(back), outline(tree)) << "round " << round;
        ASSERT_EQ(save(back), bytes);
    }
}

TEST(LotFile, ReadAndWriteFailures)
{
    QTemporaryDir dir;
    QString msg;
    const QString missing = dir.filePath("missing.lot");
    EXPECT_FALSE(readLotFile(missing, &msg));
    EXPECT_EQ(msg, QStringLiteral("ファイル %1 は開けません").arg(missing));
    EXPECT_FALSE(readLotFile(dir.path(), &msg));
    EXPECT_EQ(msg, QStringLiteral("ファイル %1 は開けません").arg(dir.path()));

    TagTree tree;
    buildOutline(tree, "A|.B");
    const QString inFolderMissing = dir.filePath("no/such/folder/t.lot");
    EXPECT_FALSE(writeLotFile(inFolderMissing, tree, &msg));
    EXPECT_EQ(msg, QStringLiteral("ファイル %1 を作成できません").arg(inFolderMissing));
    EXPECT_FALSE(writeLotFile(dir.path(), tree, &msg));

    // A failed encode leaves an existing file untouched.
    const QString existing = dir.filePath("keep.lot");
    ASSERT_TRUE(writeAll(existing, "old\r\n"));
    TagTree bad;
    buildOutline(bad, "A|.\U0001F600");
    EXPECT_FALSE(writeLotFile(existing, bad, &msg));
    EXPECT_TRUE(msg.startsWith(QStringLiteral("ファイル %1 を作成できません").arg(existing)));
    EXPECT_EQ(readAll(existing), QByteArray("old\r\n"));

    // A good write replaces it; an empty tree writes 0 bytes.
    EXPECT_TRUE(writeLotFile(existing, tree, &msg));
    EXPECT_EQ(readAll(existing), QByteArray("A\r\n\tB\r\n"));
    TagTree empty;
    EXPECT_TRUE(writeLotFile(existing, empty, &msg));
    EXPECT_EQ(QFile(existing).size(), 0);
    EXPECT_EQ(readLotFile(existing, &msg), QByteArray());
}

TEST(LotFile, ExtensionRule)
{
    EXPECT_EQ(withLotExtension("/tmp/tree"), "/tmp/tree.lot");
    EXPECT_EQ(withLotExtension("/tmp/tree.txt"), "/tmp/tree.txt");
    EXPECT_EQ(withLotExtension("/tmp/tree.lot"), "/tmp/tree.lot");
    EXPECT_EQ(withLotExtension("/tmp/dir.d/tree"), "/tmp/dir.d/tree.lot");
}

TEST(LotRead, DeepAndLongInputs)
{
    // 3000 levels (the file grows with the square of the depth), then one
    // step back to the top.
    QByteArray bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += QByteArray(i, '\t') + "n\r\n";
    bytes += "top\r\n";
    TagTree tree;
    const LotReadResult r = readLot(bytes, tree, 5000);
    EXPECT_FALSE(r.levelError);
    EXPECT_FALSE(r.tooDeep);
    EXPECT_EQ(r.nodes, 3001);
    ASSERT_EQ(tree.topLevel().size(), 2u);
    EXPECT_EQ(save(tree), bytes);

    // An 8 MB single line.
    const QByteArray line(8 << 20, 'x');
    TagTree one;
    readLot(line, one);
    ASSERT_EQ(one.topLevel().size(), 1u);
    EXPECT_EQ(one.topLevel()[0]->text.size(), line.size());
}

TEST(LotRead, DepthLimit)
{
    // Three levels allowed: the fourth stops the building; the rest is
    // scanned for the file's depth, up to a level error.
    TagTree tree;
    LotReadResult r = readLot("A\n\tB\n\t\tC\n\t\t\tD\n\t\t\t\tE\nF\n\tG\n", tree, 3);
    ASSERT_TRUE(r.tooDeep);
    EXPECT_EQ(r.tooDeep->depth, 5);
    EXPECT_EQ(r.tooDeep->line, 4);
    EXPECT_EQ(r.nodes, 3);
    EXPECT_EQ(outline(tree), "A|.B|..C");

    TagTree again;
    r = readLot("A\n\tB\n\t\tC\n\t\t\tD\n\t\t\t\t\t\tbad\n\t\t\t\tnever\n", again, 3);
    ASSERT_TRUE(r.tooDeep);
    EXPECT_EQ(r.tooDeep->depth, 4);
    EXPECT_FALSE(r.levelError) << "the depth is what the user is told";

    // Exactly at the limit is fine; the default limit is the tree's.
    TagTree fits;
    r = readLot("A\n\tB\n\t\tC\nD\n", fits, 3);
    EXPECT_FALSE(r.tooDeep);
    EXPECT_EQ(outline(fits), "A|.B|..C|D");
    QByteArray chain;
    for (int i = 0; i <= kMaxTagTreeLevels; ++i)
        chain += QByteArray(i, ' ') + "n\n";
    TagTree deep;
    r = readLot(chain, deep);
    ASSERT_TRUE(r.tooDeep);
    EXPECT_EQ(r.tooDeep->depth, kMaxTagTreeLevels + 1);
    EXPECT_EQ(lotTooDeepMessage("/t/a.lot", r.tooDeep->depth),
              QStringLiteral("ファイル /t/a.lot は開けません\nツリーの階層が 1001 段あり、深すぎます（1000 段まで開けます）"));
}
