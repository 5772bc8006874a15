#include "windows/scenarios/frmImport.h"

#include "components/Services.h"
#include "core/Formats.h"
#include "core/Shared.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <cmath>

namespace zarnel {

namespace {

const QString kTitle = QStringLiteral("Внимание!!!");
const QColor kRefused(192, 0, 0);
const QColor kExisting(0, 0, 192);

QString numberCell(const std::optional<double>& v)
{
    return v && std::isfinite(*v) ? PlainNumber(*v) : QString();
}

} // namespace

frmImport::frmImport()
{
    setWindowTitle(QStringLiteral("Импорт сценариев|Программа \"Зарнель\""));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* page = new QVBoxLayout(central);
    Label1 = new QLabel;
    Label1->setWordWrap(true);
    page->addWidget(Label1);
    Tabl_Import = new FlexGrid;
    Tabl_Import->setFixedCols(0);
    Tabl_Import->setSelectionByRow(true);
    page->addWidget(Tabl_Import, 1);
    Label2 = new QLabel;
    Label2->setWordWrap(true);
    page->addWidget(Label2);
    auto* buttons = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("Сохранить"));
    Command3 = new QPushButton(QStringLiteral("пропустить"));
    Command2 = new QPushButton(QStringLiteral("Отмена"));
    buttons->addStretch();
    for (QPushButton* b : {Command1, Command3, Command2})
        buttons->addWidget(b);
    page->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &frmImport::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmImport::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmImport::Command3_Click);
    setWidthTwips(18000);
    setHeightTwips(7200);
}

void frmImport::Preview(const ImportPlan& plan, const QString& source)
{
    m_plan = plan;
    Label1->setText(source);

    QStringList headers{QStringLiteral("Строка")};
    headers << ExchangeHeaders() << QStringLiteral("Замечание");
    Tabl_Import->Clear();
    Tabl_Import->setCols(int(headers.size()));
    Tabl_Import->setRows(int(plan.rows.size()) + 1);
    const std::array<int, 10> widths{600, 1400, 2600, 1100, 800, 900, 900, 900, 900, 6600};
    for (int c = 0; c < headers.size(); ++c) {
        Tabl_Import->setTextMatrix(0, c, headers[c]);
        Tabl_Import->setColWidth(c, widths[size_t(c)]);
    }
    for (int r = 0; r < plan.rows.size(); ++r) {
        const ImportRow& row = plan.rows[r];
        const ScenarioEntry& e = row.entry;
        std::optional<double> sanitary;
        if (e.indicators[1] || e.indicators[2])
            sanitary = e.indicators[1].value_or(0) + e.indicators[2].value_or(0);
        const QStringList cells{QString::number(row.line),
                                e.name,
                                e.title,
                                std::isfinite(e.risk) ? FormatRiskValue(e.risk) : QString(),
                                numberCell(e.indicators[0]),
                                numberCell(e.indicators[1]),
                                numberCell(e.indicators[2]),
                                numberCell(sanitary),
                                numberCell(e.indicators[3]),
                                !row.problem.isEmpty() ? row.problem
                                : row.existing         ? QStringLiteral("уже есть у объекта")
                                                       : QString()};
        for (int c = 0; c < cells.size(); ++c) {
            Tabl_Import->setTextMatrix(r + 1, c, cells[c]);
            if (!row.problem.isEmpty() || row.existing) {
                Tabl_Import->setRow(r + 1);
                Tabl_Import->setCol(c);
                Tabl_Import->setCellForeColor(row.problem.isEmpty() ? kExisting : kRefused);
            }
        }
    }

    const int refused = plan.refused();
    const int existing = plan.existing();
    QString note = QStringLiteral("Строк сценариев: %1.").arg(plan.rows.size());
    if (refused > 0) {
        note += QStringLiteral(" Не могут быть сохранены (отмечены красным): %1. Исправьте их в таблице и повторите "
                               "импорт: сохраняются все строки или ни одной.")
                    .arg(refused);
    } else if (existing > 0) {
        note += QStringLiteral(" Классификационные номера, которые уже есть у объекта (отмечены синим): %1. "
                               "Эти сценарии заменить, пропустить или отменить импорт?")
                    .arg(existing);
    }
    Label2->setText(note);
    Command1->setText(existing > 0 && refused == 0 ? QStringLiteral("заменить") : QStringLiteral("Сохранить"));
    Command1->setEnabled(refused == 0);
    Command3->setVisible(existing > 0 && refused == 0);
    Command2->setText(existing > 0 && refused == 0 ? QStringLiteral("отменить") : QStringLiteral("Отмена"));
}

void frmImport::store(bool replaceExisting)
{
    SaveScenariosOutcome saved;
    try {
        Connection c;
        // The object may have changed since the preview was made.
        CheckAgainstObject(c, CurrentObjectId, m_plan);
        if (!m_plan.error.isEmpty()) {
            MsgBox(m_plan.error, kTitle, MsgIcon::Exclamation);
            return;
        }
        saved = StoreImport(c, CurrentObjectId, m_plan, replaceExisting);
    } catch (const DbError& e) {
        ShowDbError(e.message);
        return;
    }
    QString text = QStringLiteral("Добавлено сценариев: %1.").arg(saved.added);
    if (saved.replaced > 0)
        text += QStringLiteral(" Заменено: %1.").arg(saved.replaced);
    if (saved.skipped > 0)
        text += QStringLiteral(" Пропущено: %1.").arg(saved.skipped);
    MsgBox(text, kTitle, MsgIcon::Information);
    Unload();
}

void frmImport::Command1_Click()
{
    store(true);
}

void frmImport::Command3_Click()
{
    store(false);
}

void frmImport::Command2_Click()
{
    Unload();
}

} // namespace zarnel
