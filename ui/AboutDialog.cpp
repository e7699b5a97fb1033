#include "ui/AboutDialog.h"

#include "ui/ApplicationTitle.h"
#include "ui/PixelFont.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace qb::ui {
namespace {

constexpr int BoxWidth = 300;
constexpr int BoxHeight = 217;
constexpr int Rules[] = {16, 56};
const QColor Aqua(0, 255, 255);

// A line of text shaded from yellow on the left to aqua on the right.
class ShadedText : public QWidget {
  public:
    ShadedText(const QString& text, QWidget* parent) : QWidget(parent), m_text(text) {
        setFont(pixelFont(QStringLiteral("Times New Roman"), 15));
        setAccessibleName(text);
    }
    QString text() const { return m_text; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QLinearGradient shade(0, 0, width(), 0);
        shade.setColorAt(0, Qt::yellow);
        shade.setColorAt(1, Aqua);
        painter.setPen(QPen(QBrush(shade), 1));
        painter.drawText(rect(), Qt::AlignCenter, m_text);
    }

  private:
    QString m_text;
};

QLabel* link(const QString& caption, const QString& target, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setText(QStringLiteral("<a href=\"%1\" style=\"color:#00ffff;\">%2</a>")
                       .arg(target.toHtmlEscaped(), caption.toHtmlEscaped()));
    label->setFont(pixelFont(QStringLiteral("Times New Roman"), 15));
    label->setAlignment(Qt::AlignCenter);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(true); // mail client and web browser of the desktop
    label->setAccessibleName(caption);
    return label;
}

} // namespace

QString AboutDialog::mailAddress() {
    return QStringLiteral("quillbox@example.org");
}

QString AboutDialog::discussionPage() {
    return QStringLiteral("https://example.org/quillbox/discussion");
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(tr("О Программе"));
    setModal(true);
    setFixedSize(BoxWidth, BoxHeight);

    auto* title = new QLabel(ApplicationTitle, this);
    title->setObjectName(QStringLiteral("aboutTitle"));
    title->setFont(pixelFont(QStringLiteral("Times New Roman"), 24));
    QPalette lime = title->palette();
    lime.setColor(QPalette::WindowText, QColor(0, 255, 0));
    title->setPalette(lime);
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(0, Rules[0] + 2, BoxWidth, Rules[1] - Rules[0] - 4);

    const QString lines[] = {QStringLiteral("© 2026 Quillbox"), tr("Автор: разработчики Quillbox"),
                             tr("Тестирование: пользователи Quillbox")};
    int y = Rules[1] + 8;
    for (const QString& line : lines) {
        (new ShadedText(line, this))->setGeometry(0, y, BoxWidth, 20);
        y += 22;
    }
    y += 4;
    QLabel* mail = link(tr("E-Mail адрес: %1").arg(mailAddress()),
                        QStringLiteral("mailto:") + mailAddress(), this);
    mail->setObjectName(QStringLiteral("mailLink"));
    mail->setGeometry(0, y, BoxWidth, 20);
    QLabel* page = link(tr("Обсуждение программы"), discussionPage(), this);
    page->setObjectName(QStringLiteral("discussionLink"));
    page->setGeometry(0, y + 22, BoxWidth, 20);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setGeometry((BoxWidth - 100) / 2, BoxHeight - 25 - 8, 100, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(0, 0, 128));
    background.setColorAt(1, QColor(0, 83, 208));
    painter.fillRect(rect(), background);
    // Thin rules that fade out towards both ends.
    for (const int y : Rules) {
        QLinearGradient rule(0, 0, width(), 0);
        rule.setColorAt(0, QColor(255, 255, 255, 0));
        rule.setColorAt(0.5, Qt::white);
        rule.setColorAt(1, QColor(255, 255, 255, 0));
        painter.fillRect(QRect(8, y, width() - 16, 1), rule);
    }
}

} // namespace qb::ui
