#include "app/importwindow/ImportForm.h"

#include "app/desktop/Environment.h"
#include "app/desktop/Guard.h"
#include "common/WholeFile.h"

#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cerrno>

namespace trevolo {

using namespace Qt::StringLiterals;

namespace {

// A reading of more bytes than this shows its progress (and may be cancelled).
constexpr qsizetype ProgressBytes = 1 << 20;

QComboBox *Combo(QWidget *parent, const QString &name, const QStringList &items)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(items);
    return combo;
}

QString NumbersText(const std::vector<quint8> &spins, size_t from, size_t to)
{
    QStringList numbers;
    for (size_t i = from; i < to; ++i)
        numbers.append(QString::number(spins[i]));
    return numbers.join(u' ');
}

} // namespace

ImportForm::ImportForm(Environment &environment, QWidget *parent)
    : QDialog(parent), m_environment(environment)
{
    setObjectName(u"ImportForm"_s);
    setWindowTitle(u"Импорт"_s);
    setModal(true);

    m_encoding = Combo(this, u"ImportEncoding"_s,
                       {u"Автоматически"_s, u"UTF-8"_s, u"UTF-16"_s, u"Windows-1251"_s});
    m_separator = Combo(this, u"ImportSeparator"_s,
                        {u"Автоматически"_s, u"Запятая"_s, u"Точка с запятой"_s, u"Табуляция"_s,
                         u"Пробелы"_s, u"По строкам"_s});
    m_column = Combo(this, u"ImportColumn"_s, {u"Автоматически"_s});
    m_skipRows = new QSpinBox(this);
    m_skipRows->setObjectName(u"ImportSkipRows"_s);
    m_skipRows->setRange(0, 1000000);
    m_order = Combo(this, u"ImportOrder"_s, {u"Старые сначала"_s, u"Новые сначала"_s});
    m_target = new QComboBox(this);
    m_target->setObjectName(u"ImportTarget"_s);
    m_target->addItem(u"В конец текущей последовательности"_s, int(Target::End));
    m_target->addItem(u"Вместо текущей"_s, int(Target::Instead));

    m_preview = new QPlainTextEdit(this);
    m_preview->setObjectName(u"ImportPreview"_s);
    m_preview->setReadOnly(true);
    m_preview->setMinimumSize(420, 160);
    m_summary = new QLabel(this);
    m_summary->setObjectName(u"LabelImportSummary"_s);
    m_summary->setWordWrap(true);
    m_summary->setTextFormat(Qt::PlainText);

    auto *fromClipboard = new QPushButton(u"Из буфера обмена"_s, this);
    fromClipboard->setObjectName(u"ImportFromClipboard"_s);
    auto *chooseFile = new QPushButton(u"Файл..."_s, this);
    chooseFile->setObjectName(u"ImportChooseFile"_s);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(u"ОК"_s);
    m_ok->setEnabled(false);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"Отмена"_s);

    auto *form = new QFormLayout;
    form->addRow(u"Кодировка:"_s, m_encoding);
    form->addRow(u"Разделитель:"_s, m_separator);
    form->addRow(u"Колонка чисел:"_s, m_column);
    form->addRow(u"Пропустить строк:"_s, m_skipRows);
    form->addRow(u"Порядок:"_s, m_order);
    form->addRow(u"Куда:"_s, m_target);
    auto *sources = new QHBoxLayout;
    sources->addWidget(fromClipboard);
    sources->addWidget(chooseFile);
    sources->addStretch();
    sources->addWidget(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_summary);
    layout->addLayout(sources);

    const auto guarded = [this](void (ImportForm::*handler)()) {
        return [this, handler] { RunGuarded(m_environment, this, [&] { (this->*handler)(); }); };
    };
    for (QComboBox *combo : {m_encoding, m_separator, m_column})
        connect(combo, &QComboBox::activated, this, guarded(&ImportForm::Reread));
    connect(m_skipRows, &QSpinBox::valueChanged, this, guarded(&ImportForm::Reread));
    connect(m_order, &QComboBox::activated, this, [this] {
        m_orderChosen = true;
        RunGuarded(m_environment, this, [this] { Reread(); });
    });
    connect(fromClipboard, &QPushButton::clicked, this, guarded(&ImportForm::LoadClipboard));
    connect(chooseFile, &QPushButton::clicked, this, guarded(&ImportForm::ChooseFile));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ShowMessage(u"Выберите файл или возьмите числа из буфера обмена."_s);
}

FileDialogOptions ImportForm::FileOptions()
{
    FileDialogOptions options;
    options.filters = {u"Списки чисел (*.txt *.csv *.tsv *.json)"_s, u"Все файлы (*.*)"_s};
    options.mustExist = true;
    return options;
}

void ImportForm::LoadFile(const QString &path)
{
    QByteArray bytes;
    const QString name = QFileInfo(path).fileName();
    if (const auto failure = ReadWholeFile(path, bytes, MaxImportFileBytes)) {
        m_bytes.clear();
        m_result = ImportResult();
        if (failure->error == EFBIG)
            ShowMessage(u"Файл «%1» больше 256 МиБ: такой список не импортируется."_s.arg(name));
        else
            ShowMessage(u"Файл «%1» не читается: %2."_s.arg(
                name, failure->notRegularFile ? u"это не обычный файл"_s
                                              : qt_error_string(failure->error)));
        return;
    }
    LoadBytes(bytes, name);
}

void ImportForm::LoadBytes(const QByteArray &bytes, const QString &source)
{
    m_bytes = bytes;
    setWindowTitle(u"Импорт: "_s + source);
    Reread();
}

void ImportForm::LoadClipboard()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        m_bytes.clear();
        m_result = ImportResult();
        ShowMessage(u"В буфере обмена нет текста."_s);
        return;
    }
    LoadBytes(text.toUtf8(), u"буфер обмена"_s);
}

void ImportForm::ChooseFile()
{
    if (const auto choice = m_environment.chooseOpenFile(this, FileOptions()))
        LoadFile(choice->path);
}

ImportForm::Target ImportForm::ChosenTarget() const
{
    return Target(m_target->currentData().toInt());
}

ImportOptions ImportForm::Options() const
{
    ImportOptions options;
    options.encoding = ImportEncoding(m_encoding->currentIndex());
    options.separator = ImportSeparator(m_separator->currentIndex());
    options.column = m_column->currentIndex() - 1;
    options.skipRows = m_skipRows->value();
    if (m_orderChosen)
        options.order = m_order->currentIndex() == 0 ? ImportOrder::OldestFirst
                                                     : ImportOrder::NewestFirst;
    return options;
}

void ImportForm::Reread()
{
    std::unique_ptr<ProgressView> progress;
    ImportProgress report;
    if (m_bytes.size() > ProgressBytes) {
        progress = m_environment.showProgress(this, u"Чтение чисел..."_s);
        report = [&progress](int percent) {
            progress->setPercent(percent);
            return !progress->cancelled();
        };
    }
    m_result = ReadSpins(m_bytes, Options(), report);
    progress.reset();

    // The column list follows the columns read; a chosen column stays chosen.
    {
        const QSignalBlocker blocker(m_column);
        const int chosen = m_column->currentIndex();
        m_column->clear();
        m_column->addItem(u"Автоматически"_s);
        for (int c = 0; c < m_result.columns.size() && !m_result.json; ++c)
            m_column->addItem(m_result.header ? u"%1: %2"_s.arg(c + 1).arg(m_result.columns[c])
                                              : QString::number(c + 1));
        m_column->setCurrentIndex(chosen < m_column->count() ? chosen : 0);
    }
    if (!m_orderChosen)
        m_order->setCurrentIndex(m_result.order == ImportOrder::NewestFirst ? 1 : 0);
    if (!m_result.error.isEmpty()) {
        ShowMessage(m_result.error + u'.');
        return;
    }

    const std::vector<quint8> &spins = m_result.spins;
    const size_t n = spins.size();
    QString preview;
    if (n <= size_t(2 * PreviewCount)) {
        preview = NumbersText(spins, 0, n);
    } else {
        preview = u"Первые %1:\n%2\n…\nПоследние %1:\n%3"_s.arg(
            QString::number(PreviewCount), NumbersText(spins, 0, PreviewCount),
            NumbersText(spins, n - PreviewCount, n));
    }
    m_preview->setPlainText(u"Будут добавлены (старые сначала):\n"_s + preview);
    QString summary = ImportSummary(m_result);
    if (!m_result.json && !m_result.singleLine && m_result.columns.size() > 1)
        summary += u"\nКолонка чисел: "_s + m_column->itemText(m_result.column + 1);
    if (m_result.singleLine && !m_orderChosen)
        summary += u"\nЧисла в одну строку: считаются новыми сначала, как их показывают казино."_s;
    m_summary->setText(summary);
    m_ok->setEnabled(true);
}

void ImportForm::ShowMessage(const QString &message)
{
    m_preview->setPlainText(message);
    m_summary->setText(m_result.skippedCount > 0 ? ImportSummary(m_result) : QString());
    m_ok->setEnabled(false);
}

} // namespace trevolo
