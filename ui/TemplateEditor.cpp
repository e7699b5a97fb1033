#include "ui/TemplateEditor.h"

#include "core/Cp1251.h"
#include "core/LineList.h"
#include "export/ExportTemplate.h"
#include "ui/MessageBoxes.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

namespace qb::ui {
namespace {

QFont editorFont() {
    // Courier New where it is installed; Liberation Mono stands in with the same metrics.
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

void setUpEditor(QsciScintilla* text) {
    const QFont font = editorFont();
    auto* lexer = new QsciLexerHTML(text);
    lexer->setDefaultFont(font);
    lexer->setFont(font, -1);
    text->setLexer(lexer);
    text->setFont(font);
    text->setUtf8(true);
    text->setEolMode(QsciScintilla::EolUnix);
    text->setWrapMode(QsciScintilla::WrapNone);
    text->setTabWidth(4);
    text->setIndentationsUseTabs(true);
    text->setMarginType(0, QsciScintilla::NumberMargin);
    text->setMarginLineNumbers(0, true);
    text->setMarginsFont(font);
    text->setMarginWidth(0, QStringLiteral("00000"));
}

} // namespace

TemplateEditor::TemplateEditor(const QString& workDir, QWidget* parent)
    : QDialog(parent), m_workDir(workDir) {
    setObjectName(QStringLiteral("templateEditor"));
    setWindowTitle(tr("Шаблон сообщений для сохранения"));
    setModal(true);
    resize(640, 480);

    m_text = new QsciScintilla(this);
    m_text->setObjectName(QStringLiteral("templateText"));
    m_text->setAccessibleName(QStringLiteral("templateText"));
    setUpEditor(m_text);

    m_resetButton = new QPushButton(tr("Сброс"), this);
    m_resetButton->setObjectName(QStringLiteral("resetButton"));
    m_saveButton = new QPushButton(tr("Сохранить"), this);
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    m_cancelButton = new QPushButton(tr("Отмена"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_resetButton);
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);

    connect(m_resetButton, &QPushButton::clicked, this, &TemplateEditor::resetToDefault);
    connect(m_saveButton, &QPushButton::clicked, this, &TemplateEditor::saveTemplate);
    connect(m_cancelButton, &QPushButton::clicked, this, &TemplateEditor::reject);
}

bool TemplateEditor::loadTemplate() {
    const TemplateRead read = readTemplate(m_workDir);
    if (read.failure) {
        openMessageBox(this, QMessageBox::Critical, read.failure->text());
        return false;
    }
    // Without a file the editor keeps what it held when it was last closed.
    if (read.exists)
        setLines(read.lines);
    return true;
}

void TemplateEditor::openTemplate() {
    if (loadTemplate())
        open();
}

void TemplateEditor::resetToDefault() {
    setLines(defaultTemplate());
}

void TemplateEditor::saveTemplate() {
    const std::vector<std::string> lines = splitFileLines(cp1251::fromUnicode(m_text->text()));
    if (const MaybeFailure failure = writeTemplate(m_workDir, lines)) {
        openMessageBox(this, QMessageBox::Critical, failure->text());
        return;
    }
    accept();
}

void TemplateEditor::setLines(const std::vector<std::string>& lines) {
    // Every line keeps its break, the last one too, as in the file: joined
    // only between lines, a trailing empty line would look like none and be
    // lost at the next save.
    QString text;
    for (const std::string& line : lines)
        text += cp1251::toUnicode(line) + QLatin1Char('\n');
    m_text->setText(text);
}

} // namespace qb::ui
