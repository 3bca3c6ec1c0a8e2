// The criteria form of Extract > "Select stations…": every criterion and output of
// corvane-extract in one dialog, for a data set of any version. The variables offered are
// those whose files the data folder holds. Each field is checked as it is typed, by the
// command line's own rules and in its words, and the reason stands beside the field; Run
// stays disabled while anything is refused. The command the form makes is shown below it.
#pragma once

#include <QDialog>
#include <QString>
#include <map>
#include <string>
#include <vector>

#include "extract/criteria_choices.hpp"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane::frame {

class CriteriaForm : public QDialog {
    Q_OBJECT
public:
    // `data_folder`: where the form starts looking for the data set and writing the outputs.
    CriteriaForm(const QString& data_folder, QWidget* parent = nullptr);

    extract::CriteriaChoices choices() const;
    // Fills the form with earlier choices (the last run's, when the form opens again).
    void set_choices(const extract::CriteriaChoices& choices);
    // The words of corvane-extract's command line, after the program's name.
    std::vector<std::string> command_words() const { return extract::command_words(choices()); }

    // The text field of an option ("--box", "--data-dir", ...), and the reason beside it.
    QLineEdit* field(const std::string& option) const;
    QLabel* reason(const std::string& option) const;
    QComboBox* variable_box() const { return variable_; }
    QComboBox* qc_box() const { return qc_; }
    QCheckBox* check_box(const std::string& option) const;
    QPushButton* run_button() const { return run_; }
    // The refusal that names no single field (no criterion at all), if any.
    QString general_reason() const;

private:
    struct Field {
        QLineEdit* edit = nullptr;
        QLabel* reason = nullptr;
        std::string extract::CriteriaChoices::*member = nullptr;
    };
    void build();
    QWidget* data_group();
    QWidget* place_group();
    QWidget* period_group();
    QWidget* station_group();
    QWidget* output_group();
    QLineEdit* add_field(QGridLayout* grid, const QString& label, const std::string& option,
                         std::string extract::CriteriaChoices::*member, const QString& hint);
    QCheckBox* add_check(QGridLayout* grid, const QString& label, const std::string& option,
                         bool extract::CriteriaChoices::*member);
    void add_browse(QGridLayout* grid, const std::string& option, bool folder, bool save);
    void fill_variables();
    void recheck();

    std::map<std::string, Field> fields_;
    std::map<std::string, std::pair<QCheckBox*, bool extract::CriteriaChoices::*>> checks_;
    QComboBox* variable_ = nullptr;
    QLabel* variable_reason_ = nullptr;
    QComboBox* qc_ = nullptr;
    QLabel* general_ = nullptr;
    QLineEdit* command_ = nullptr;
    QPushButton* run_ = nullptr;
    QString start_folder_;
};

}  // namespace corvane::frame
