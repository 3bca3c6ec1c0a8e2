#include "frame/criteria_form.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include "frame/data_folder_choice.hpp"
#include "frame/dialogs.hpp"

namespace corvane::frame {

namespace {

using Choices = extract::CriteriaChoices;

constexpr int edition_role = Qt::UserRole;
constexpr int name_role = Qt::UserRole + 1;
constexpr int reason_width = 220;

QString qt(const std::string& text) { return QString::fromStdString(text); }
std::string plain(const QString& text) { return text.trimmed().toStdString(); }

QGridLayout* grid_in(QGroupBox* box) {
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(3, reason_width);
    return grid;
}

QLabel* reason_label() {
    auto* label = new QLabel;
    label->setWordWrap(true);
    label->setMaximumWidth(reason_width);
    // A red that stays readable on the theme's background, light or dark.
    const bool dark = label->palette().color(QPalette::Window).lightness() < 128;
    label->setStyleSheet(dark ? QStringLiteral("color: #ff8a80;") : QStringLiteral("color: #b00020;"));
    return label;
}

}  // namespace

CriteriaForm::CriteriaForm(const QString& data_folder, QWidget* parent) : QDialog(parent), start_folder_(data_folder) {
    setWindowTitle(QStringLiteral("Select stations"));
    build();
    fill_variables();
    recheck();
}

void CriteriaForm::build() {
    // Two columns: what is read and which stations; how they are chosen further and what is written.
    auto* inner = new QWidget;
    auto* columns = new QHBoxLayout(inner);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    for (QWidget* group : {data_group(), place_group(), period_group()}) left->addWidget(group);
    for (QWidget* group : {station_group(), output_group()}) right->addWidget(group);
    left->addStretch(1);
    right->addStretch(1);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    auto* scroll = new QScrollArea;
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    const QSize wanted = inner->sizeHint() + QSize(24, 24);
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, wanted.width(), wanted.height());
    scroll->setMinimumSize(std::min(wanted.width(), screen.width() - 40), std::min(wanted.height(), screen.height() - 160));

    general_ = reason_label();
    general_->setMaximumWidth(QWIDGETSIZE_MAX);
    command_ = new QLineEdit;
    command_->setReadOnly(true);
    command_->setAccessibleName(QStringLiteral("Command"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    run_ = buttons->addButton(QStringLiteral("&Run"), QDialogButtonBox::AcceptRole);
    run_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(general_);
    auto* command_row = new QHBoxLayout;
    command_row->addWidget(new QLabel(QStringLiteral("Command:")));
    command_row->addWidget(command_, 1);
    layout->addLayout(command_row);
    layout->addWidget(buttons);
}

QWidget* CriteriaForm::data_group() {
    auto* box = new QGroupBox(QStringLiteral("Data set"));
    QGridLayout* grid = grid_in(box);
    add_field(grid, QStringLiteral("Data folder:"), "--data-dir", &Choices::data_dir, {});
    add_browse(grid, "--data-dir", true, false);
    fields_["--data-dir"].edit->setText(start_folder_);
    connect(fields_["--data-dir"].edit, &QLineEdit::textChanged, this, &CriteriaForm::fill_variables);
    const int row = grid->rowCount();
    variable_ = new QComboBox;
    variable_->setAccessibleName(QStringLiteral("Variable"));
    variable_reason_ = reason_label();
    grid->addWidget(new QLabel(QStringLiteral("Variable:")), row, 0);
    grid->addWidget(variable_, row, 1);
    grid->addWidget(variable_reason_, row, 3);
    connect(variable_, &QComboBox::currentIndexChanged, this, &CriteriaForm::recheck);
    qc_ = new QComboBox;
    qc_->addItem(QStringLiteral("drop values that failed a check"), false);
    qc_->addItem(QStringLiteral("keep them, flags beside them"), true);
    qc_->setAccessibleName(QStringLiteral("QC policy"));
    grid->addWidget(new QLabel(QStringLiteral("QC policy:")), row + 1, 0);
    grid->addWidget(qc_, row + 1, 1);
    connect(qc_, &QComboBox::currentIndexChanged, this, &CriteriaForm::recheck);
    return box;
}

QWidget* CriteriaForm::place_group() {
    auto* box = new QGroupBox(QStringLiteral("Where"));
    QGridLayout* grid = grid_in(box);
    add_field(grid, QStringLiteral("Country:"), "--country", &Choices::country,
              QStringLiteral("v2: three-digit code; v3/v4: code or name"));
    add_field(grid, QStringLiteral("Box:"), "--box", &Choices::box,
              QStringLiteral("N,S,E,W degrees; E below W: across 180°"));
    add_field(grid, QStringLiteral("Elevation:"), "--elevation", &Choices::elevation, QStringLiteral("MIN,MAX in metres"));
    add_check(grid, QStringLiteral("Keep stations without an elevation"), "--missing-elevation",
              &Choices::keep_missing_elevation);
    add_field(grid, QStringLiteral("Near:"), "--near", &Choices::near, QStringLiteral("LAT,LON in decimal degrees"));
    add_field(grid, QStringLiteral("Within:"), "--radius", &Choices::radius, QStringLiteral("kilometres"));
    add_field(grid, QStringLiteral("Nearest:"), "--nearest", &Choices::nearest, QStringLiteral("number of stations"));
    return box;
}

QWidget* CriteriaForm::period_group() {
    auto* box = new QGroupBox(QStringLiteral("When"));
    QGridLayout* grid = grid_in(box);
    add_field(grid, QStringLiteral("Years:"), "--years", &Choices::years, QStringLiteral("FIRST:LAST"));
    add_field(grid, QStringLiteral("Minimum years:"), "--min-years", &Choices::min_years,
              QStringLiteral("years of data a station needs"));
    add_field(grid, QStringLiteral("Minimum months:"), "--min-months", &Choices::min_months,
              QStringLiteral("values a year needs (default 12)"));
    return box;
}

QWidget* CriteriaForm::station_group() {
    auto* box = new QGroupBox(QStringLiteral("Which stations"));
    QGridLayout* grid = grid_in(box);
    add_field(grid, QStringLiteral("Name holds:"), "--name", &Choices::name, QStringLiteral("any case"));
    add_field(grid, QStringLiteral("Identifiers:"), "--id", &Choices::ids, QStringLiteral("separated by blanks or commas"));
    add_field(grid, QStringLiteral("Identifiers file:"), "--ids-from", &Choices::ids_from,
              QStringLiteral("one id a line, # starts a comment"));
    add_browse(grid, "--ids-from", false, false);
    return box;
}

QWidget* CriteriaForm::output_group() {
    auto* box = new QGroupBox(QStringLiteral("Outputs"));
    QGridLayout* grid = grid_in(box);
    add_field(grid, QStringLiteral("Output folder:"), "--out-dir", &Choices::out_dir, {});
    add_browse(grid, "--out-dir", true, false);
    fields_["--out-dir"].edit->setText(start_folder_);
    add_check(grid, QStringLiteral("Version 2: also stations.csv and values.csv"), "--csv", &Choices::csv);
    checks_["--csv"].first->setChecked(true);
    add_field(grid, QStringLiteral("netCDF file:"), "--netcdf", &Choices::netcdf, QStringLiteral("optional"));
    add_browse(grid, "--netcdf", false, true);
    add_field(grid, QStringLiteral("GeoJSON file:"), "--geojson", &Choices::geojson, QStringLiteral("optional"));
    add_browse(grid, "--geojson", false, true);
    add_check(grid, QStringLiteral("Annual means (annual.csv)"), "--annual", &Choices::annual);
    add_field(grid, QStringLiteral("Anomalies against:"), "--anomalies", &Choices::anomalies,
              QStringLiteral("base period FIRST:LAST"));
    add_field(grid, QStringLiteral("Base minimum years:"), "--base-min-years", &Choices::base_min_years,
              QStringLiteral("default 20"));
    add_check(grid, QStringLiteral("Replace existing output files"), "--force", &Choices::force);
    return box;
}

QLineEdit* CriteriaForm::add_field(QGridLayout* grid, const QString& label, const std::string& option,
                                   std::string Choices::*member, const QString& hint) {
    const int row = grid->rowCount();
    auto* edit = new QLineEdit;
    edit->setPlaceholderText(hint);
    edit->setAccessibleName(label.chopped(1));
    edit->setToolTip(qt(option));
    auto* title = new QLabel(label);
    title->setBuddy(edit);
    QLabel* why = reason_label();
    grid->addWidget(title, row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(why, row, 3);
    fields_[option] = {edit, why, member};
    connect(edit, &QLineEdit::textChanged, this, &CriteriaForm::recheck);
    return edit;
}

QCheckBox* CriteriaForm::add_check(QGridLayout* grid, const QString& label, const std::string& option,
                                   bool Choices::*member) {
    auto* check = new QCheckBox(label);
    grid->addWidget(check, grid->rowCount(), 1, 1, 2);
    checks_[option] = {check, member};
    connect(check, &QCheckBox::toggled, this, &CriteriaForm::recheck);
    return check;
}

// A "…" button beside the field of the row just added.
void CriteriaForm::add_browse(QGridLayout* grid, const std::string& option, bool folder, bool save) {
    auto* button = new QToolButton;
    button->setText(QStringLiteral("…"));
    button->setAccessibleName(QStringLiteral("Browse"));
    grid->addWidget(button, grid->rowCount() - 1, 2);
    QLineEdit* edit = fields_[option].edit;
    connect(button, &QToolButton::clicked, this, [edit, folder, save] {
        std::optional<QString> chosen;
        if (folder) chosen = ask_for_data_folder(edit->text());
        else chosen = run_file_dialog({.initial_name = edit->text(), .save = save});
        if (chosen) edit->setText(*chosen);
    });
}

// The variables of every version the data folder holds; the first is chosen.
void CriteriaForm::fill_variables() {
    const QString kept = variable_->currentText();
    variable_->blockSignals(true);
    variable_->clear();
    const std::string folder = plain(fields_["--data-dir"].edit->text());
    for (const extract::FolderVariables& found : extract::folder_variables(folder.empty() ? "." : folder)) {
        for (const std::string& name : found.variables) {
            variable_->addItem(QStringLiteral("%1 (version %2)").arg(qt(name)).arg(found.edition));
            variable_->setItemData(variable_->count() - 1, found.edition, edition_role);
            variable_->setItemData(variable_->count() - 1, qt(name), name_role);
        }
    }
    if (const int again = variable_->findText(kept); again >= 0) variable_->setCurrentIndex(again);
    variable_->blockSignals(false);
    recheck();
}

extract::CriteriaChoices CriteriaForm::choices() const {
    Choices c;
    for (const auto& [option, f] : fields_) c.*(f.member) = plain(f.edit->text());
    for (const auto& [option, check] : checks_) c.*(check.second) = check.first->isChecked();
    if (variable_->currentIndex() >= 0) {
        c.dataset = "v" + std::to_string(variable_->currentData(edition_role).toInt());
        c.variable = plain(variable_->currentData(name_role).toString());
    }
    c.qc_keep = qc_->currentData().toBool();
    return c;
}

void CriteriaForm::set_choices(const Choices& c) {
    for (auto& [option, f] : fields_) f.edit->setText(qt(c.*(f.member)));  // the folder's variables come first
    for (auto& [option, check] : checks_) check.first->setChecked(c.*(check.second));
    for (int i = 0; i < variable_->count(); ++i) {
        if (variable_->itemData(i, name_role).toString() == qt(c.variable) &&
            "v" + std::to_string(variable_->itemData(i, edition_role).toInt()) == c.dataset)
            variable_->setCurrentIndex(i);
    }
    qc_->setCurrentIndex(c.qc_keep ? 1 : 0);
    recheck();
}

void CriteriaForm::recheck() {
    if (!run_) return;  // still being built
    const Choices c = choices();
    for (auto& [option, f] : fields_) f.reason->clear();
    general_->clear();
    variable_reason_->setText(c.variable.empty() ? QStringLiteral("the data folder holds no data set of version 2, 3 or 4")
                                                 : QString());
    checks_["--missing-elevation"].first->setEnabled(!c.elevation.empty());
    checks_["--csv"].first->setEnabled(c.dataset == "v2");
    const std::vector<extract::ChoiceRefusal> refused = extract::refusals(c);
    for (const extract::ChoiceRefusal& r : refused) {
        const auto f = fields_.find(r.option == "--missing-elevation" ? "--elevation" : r.option);
        QLabel* where = f != fields_.end() ? f->second.reason : r.option == "--variable" ? variable_reason_ : general_;
        if (where->text().isEmpty()) where->setText(qt(r.text));
    }
    QString command = QStringLiteral("corvane-extract");
    for (const std::string& word : command_words()) {
        const QString w = qt(word);
        command += QLatin1Char(' ') + (w.contains(QLatin1Char(' ')) || w.isEmpty() ? QLatin1Char('\'') + w + QLatin1Char('\'') : w);
    }
    command_->setText(command);
    command_->setCursorPosition(0);
    command_->setToolTip(command);
    run_->setEnabled(refused.empty() && !c.variable.empty());
}

QLineEdit* CriteriaForm::field(const std::string& option) const {
    const auto f = fields_.find(option);
    return f == fields_.end() ? nullptr : f->second.edit;
}

QLabel* CriteriaForm::reason(const std::string& option) const {
    const auto f = fields_.find(option);
    return f == fields_.end() ? nullptr : f->second.reason;
}

QCheckBox* CriteriaForm::check_box(const std::string& option) const {
    const auto c = checks_.find(option);
    return c == checks_.end() ? nullptr : c->second.first;
}

QString CriteriaForm::general_reason() const { return general_->text(); }

}  // namespace corvane::frame
