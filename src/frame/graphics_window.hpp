// The graphics window: a child window whose picture an application's routine draws with a
// QPainter, in one of the mapping modes. It is printed through the same routine and saved
// as a bitmap file of what is on the screen. One per run: once opened, no other can be.
#pragma once

#include <QPointer>
#include <QTransform>
#include <QWidget>
#include <string>

#include "console/bitmap_file.hpp"
#include "frame/child_content.hpp"

class QPainter;
class QPaintDevice;

namespace corvane::frame {

class ChildWindow;

using DrawRoutine = void (*)(QPainter& painter);

// Mapping modes: the units and orientation of the painter the routine gets.
enum MappingMode : int {
    mapping_text = 1,         // pixels, y down
    mapping_lometric = 2,     // 0.1 mm, y up
    mapping_himetric = 3,     // 0.01 mm, y up
    mapping_loenglish = 4,    // 0.01 inch, y up
    mapping_hienglish = 5,    // 0.001 inch, y up
    mapping_twips = 6,        // 1/1440 inch, y up
    mapping_isotropic = 7,    // the routine sets window and viewport itself
    mapping_anisotropic = 8,  // likewise
};

// 2 to 8 as given, anything else pixels.
int effective_mapping_mode(int mode);
// The painter's transform for a mode on a device of the given resolution; the origin stays
// at the top-left corner.
QTransform mapping_transform(int mode, double dpi_x, double dpi_y);

struct GraphicsState {
    bool opened = false;                 // never cleared: one graphics window per run
    QPointer<ChildWindow> window;
    DrawRoutine draw_routine = nullptr;
    int mapping_mode = mapping_text;
    bool bitmap_saved = false;           // closes without a question
    std::string bitmap_path;             // last bitmap file chosen
};

// The widget sees only the run's graphics state and a callback for the menu's states.
class GraphicsWidget : public QWidget, public ChildContent {
    Q_OBJECT
public:
    GraphicsWidget(GraphicsState& graphics, CommandStateCallback command_state);
    // ChildContent: the commands are Save, Save As and Print (Font and Colour only beep);
    // Save is enabled until the bitmap is saved, the edit commands never are.
    void command(int id) override;
    bool may_close() override;
    void show_command_states() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool run_bitmap_dialog();
    void save_bitmap(const std::string& path);
    void print();
    QString title() const;

    GraphicsState& graphics_;
    CommandStateCallback command_state_;
};

// Draws the frame's graphics picture on `device` (a window or a printer page).
void draw_graphics(const GraphicsState& state, QPainter& painter, const QPaintDevice& device);

// What is on the screen in `widget`, as the rows of a 32-bit bitmap.
console::BitmapCapture capture_bitmap(QWidget& widget);

}  // namespace corvane::frame
