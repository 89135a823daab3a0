#include "app/tfmrecover.h"

#include "app/recovery.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFmRecover::TFmRecover(const std::vector<RecoveredDocument>& documents, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FmRecover"));
    setWindowTitle(QStringLiteral("文書の復元"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("前回、保存されないまま終わった文書があります。\n"
                                            "印を付けた文書を復元し、外した文書は破棄します。"),
                             this);
    label->setObjectName(QStringLiteral("LabelRecover"));
    layout->addWidget(label);

    DocList = new QListWidget(this);
    DocList->setObjectName(QStringLiteral("DocList"));
    DocList->setAccessibleName(QStringLiteral("復元する文書"));
    bool anyDamaged = false;
    for (const RecoveredDocument& d : documents) {
        const QString when = QStringLiteral("　") + d.written.toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
        if (d.damaged) {
            // Nothing to restore; shown so that the user knows it is there
            // and where.
            anyDamaged = true;
            auto* item = new QListWidgetItem(QDir::toNativeSeparators(d.file)
                                                 + QStringLiteral("（壊れていて読めません）") + when,
                                             DocList);
            item->setFlags(item->flags() & ~(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled));
            continue;
        }
        const QString name = d.hasFile ? QDir::toNativeSeparators(d.path)
                                       : d.path + QStringLiteral("（未保存の新規文書）");
        auto* item = new QListWidgetItem(name + when, DocList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    layout->addWidget(DocList, 1);
    if (anyDamaged) {
        auto* note = new QLabel(QStringLiteral("読めないファイルは、復元しても破棄しても削除されます。"), this);
        note->setObjectName(QStringLiteral("LabelDamaged"));
        layout->addWidget(note);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BtnRestore = new QPushButton(QStringLiteral("復元(&R)"), this);
    BtnRestore->setObjectName(QStringLiteral("BtnRestore"));
    BtnRestore->setDefault(true);
    BtnRestore->setAutoDefault(true);
    BtnDiscard = new QPushButton(QStringLiteral("すべて破棄(&D)"), this);
    BtnDiscard->setObjectName(QStringLiteral("BtnDiscard"));
    BtnDiscard->setAutoDefault(false);
    buttons->addWidget(BtnRestore);
    buttons->addWidget(BtnDiscard);
    layout->addLayout(buttons);

    connect(BtnRestore, &QPushButton::clicked, this, [this] {
        m_outcome = Outcome::Restore;
        accept();
    });
    connect(BtnDiscard, &QPushButton::clicked, this, [this] {
        m_outcome = Outcome::DiscardAll;
        reject();
    });
    resize(460, 260);
}

std::vector<bool> TFmRecover::ticked() const
{
    std::vector<bool> out(size_t(DocList->count()), false);
    for (int i = 0; i < DocList->count(); ++i)
        out[size_t(i)] = (DocList->item(i)->flags() & Qt::ItemIsUserCheckable)
                         && DocList->item(i)->checkState() == Qt::Checked;
    return out;
}
