#include "ui/ExportDialog.h"

#include "controllers/ExportController.h"
#include "ui/MessageBoxes.h"
#include "ui/TemplateEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace qb::ui {
namespace {

QString htmlFilter() {
    return ExportDialog::tr("Документ HTML (*.htm;*.html)");
}

QString textFilter() {
    return ExportDialog::tr("Текстовый файл (*.txt)");
}

QStringList descriptions() {
    return {htmlFilter(), textFilter()};
}

// Qt takes the patterns from the description's parentheses and splits them at
// blanks only, so it would find no file for "*.htm;*.html"; the patterns are
// therefore handed to the dialog's file list directly whenever the filter changes.
void applyPatterns(QFileDialog* dialog) {
    const QString chosen = dialog->selectedNameFilter();
    const QString patterns = chosen == htmlFilter()   ? QStringLiteral("*.html;*.htm")
                             : chosen == textFilter() ? QStringLiteral("*.txt")
                                                      : QString();
    auto* files = dialog->findChild<QFileSystemModel*>();
    if (!patterns.isEmpty() && files)
        files->setNameFilters(patterns.split(QLatin1Char(';')));
}

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

ExportDialog::ExportDialog(const QString& workDir, TemplateEditor* editor,
                           ExportController& exporter, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_workDir(workDir), m_editor(editor), m_exporter(exporter) {
    setObjectName(QStringLiteral("exportDialog"));
    setWindowTitle(tr("Сохранение сообщений"));
    setModal(true);
    buildLayout();
    m_progress = std::make_unique<StatusProgress>(m_progressBar);

    // Not a child of this dialog: this dialog is disabled while the save-file
    // dialog runs, and a disabled parent would disable it too.
    m_saveDialog = std::make_unique<QFileDialog>();
    m_saveDialog->setObjectName(QStringLiteral("exportSaveDialog"));
    m_saveDialog->setAcceptMode(QFileDialog::AcceptSave);
    m_saveDialog->setFileMode(QFileDialog::AnyFile);
    m_saveDialog->setOption(QFileDialog::DontConfirmOverwrite);
    m_saveDialog->setOption(QFileDialog::DontUseNativeDialog);
    m_saveDialog->setNameFilters(descriptions());
    m_saveDialog->setDefaultSuffix(QStringLiteral("htm"));
    m_saveDialog->setDirectory(workDir);
    askFileName = [this](SaveAnswer answer) { openSaveDialog(std::move(answer)); };
    connect(m_saveDialog.get(), &QDialog::finished, this, &ExportDialog::saveDialogFinished);
    if (auto* types = m_saveDialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        // Queued, so that the patterns replace the ones the dialog has just set.
        connect(
            types, &QComboBox::currentIndexChanged, this,
            [this] { applyPatterns(m_saveDialog.get()); }, Qt::QueuedConnection);
    }

    connect(m_splitSizeBox, &QComboBox::currentIndexChanged, this, &ExportDialog::showSplitUnit);
    connect(m_splitCheckBox, &QCheckBox::clicked, m_splitSizeBox, &QComboBox::setEnabled);
    connect(m_saveButton, &QPushButton::clicked, this, &ExportDialog::saveMessages);
    connect(m_cancelButton, &QPushButton::clicked, this, &ExportDialog::reject);
    connect(m_templateButton, &QPushButton::clicked, m_editor, &TemplateEditor::openTemplate);
    connect(&m_exporter, &ExportController::exportProgress, this,
            [this](const ProgressState& state) {
                m_progress->setMaximum(state.maximum);
                m_progress->setPosition(state.position);
            });
    connect(&m_exporter, &ExportController::exportFinished, this, &ExportDialog::exportFinished);
}

ExportDialog::~ExportDialog() = default;

void ExportDialog::buildLayout() {
    auto* group = new QGroupBox(tr("Параметры сохранения"), this);
    m_splitCheckBox = new QCheckBox(tr("Разбить на файлы по"), group);
    m_splitCheckBox->setObjectName(QStringLiteral("splitCheckBox"));
    m_splitSizeBox = new QComboBox(group);
    m_splitSizeBox->setObjectName(QStringLiteral("splitSizeBox"));
    m_splitSizeBox->setAccessibleName(QStringLiteral("splitSizeBox"));
    m_splitSizeBox->setEditable(false);
    m_splitSizeBox->setMinimumContentsLength(6);
    auto* row = new QHBoxLayout(group);
    row->addWidget(m_splitCheckBox);
    row->addWidget(m_splitSizeBox);
    m_splitUnitLabel = new QLabel(group);
    row->addWidget(m_splitUnitLabel);
    showSplitUnit();
    row->addStretch();

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setAccessibleName(QStringLiteral("progressBar"));
    m_progressBar->setValue(0);

    m_saveButton = button(tr("Сохранить"), "saveButton", this);
    m_cancelButton = button(tr("Отмена"), "cancelButton", this);
    m_templateButton = button(tr("Шаблон"), "templateButton", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();
    buttons->addWidget(m_templateButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(m_progressBar);
    layout->addLayout(buttons);
}

void ExportDialog::prepare(ExportMode mode, ExportSource source) {
    m_mode = mode;
    m_source = std::move(source);
    // Splitting stays ticked or not as the user left it; only All lets them change it.
    m_splitCheckBox->setEnabled(mode == ExportMode::All);
    m_splitSizeBox->clear();
    for (const int size :
         splitSizes(mode, mode == ExportMode::All ? m_source.listRowCount : m_source.exportedCount))
        m_splitSizeBox->addItem(QString::number(size), size);
    m_splitSizeBox->setCurrentIndex(m_splitSizeBox->count() > 0 ? 0 : -1);
}

void ExportDialog::openSaveDialog(SaveAnswer answer) {
    // The dialog keeps its directory and filter; the last name is offered again.
    if (!m_lastFileName.isEmpty())
        m_saveDialog->selectFile(m_lastFileName);
    applyPatterns(m_saveDialog.get());
    m_saveAnswer = std::move(answer);
    m_saveDialog->open();
}

void ExportDialog::saveDialogFinished(int result) {
    std::optional<SaveChoice> choice;
    if (result == QDialog::Accepted && !m_saveDialog->selectedFiles().isEmpty()) {
        m_lastFileName = m_saveDialog->selectedFiles().first();
        const bool text = m_saveDialog->selectedNameFilter() == textFilter();
        choice = SaveChoice{m_lastFileName, text ? ExportFormat::Text : ExportFormat::Html};
    }
    if (SaveAnswer answer = std::exchange(m_saveAnswer, {}))
        answer(choice);
}

void ExportDialog::showSplitUnit() {
    m_splitUnitLabel->setText(tr("сообщений", nullptr, m_splitSizeBox->currentData().toInt()));
}

int ExportDialog::chosenSplitSize() const {
    // A list too short to offer a size is written whole, even with the box ticked.
    if (!m_splitCheckBox->isChecked() || m_splitSizeBox->currentIndex() < 0)
        return 0;
    return m_splitSizeBox->currentData().toInt();
}

void ExportDialog::saveMessages() {
    setEnabled(false);
    askFileName([this](const std::optional<SaveChoice>& choice) { saveTo(choice); });
}

void ExportDialog::saveTo(const std::optional<SaveChoice>& choice) {
    if (choice) {
        TemplateRead read = readTemplate(m_workDir);
        if (read.failure) {
            // Enabled again before the message: a box over a disabled dialog would be disabled too.
            setEnabled(true);
            openMessageBox(this, QMessageBox::Critical, read.failure->text());
            return;
        }
        // A missing template exports nothing, without a word.
        if (read.exists)
            return startExport(*choice, std::move(read.lines));
    }
    setEnabled(true);
}

void ExportDialog::startExport(const SaveChoice& choice, std::vector<std::string> lines) {
    if (m_mode == ExportMode::Selected)
        m_progress->setTextVisible(false);
    ExportSettings settings{choice.fileName, choice.format, chosenSplitSize(),
                            m_source.listRowCount};
    m_saveDialog->setDefaultSuffix(choice.format == ExportFormat::Html ? QStringLiteral("htm")
                                                                       : QStringLiteral("txt"));
    if (!m_exporter.exportRows(std::move(lines), m_source.rows(), std::move(settings)))
        setEnabled(true); // another command runs; nothing was written
}

void ExportDialog::exportFinished(bool written) {
    setEnabled(true);
    m_progress->setPosition(0);
    if (written)
        accept();
}

} // namespace qb::ui
