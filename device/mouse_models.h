#pragma once
// Every model of the family and every sensor rule, in one table: what the device page calls a
// mouse and which picture it shows, the DPI grid, which options the settings offer, and the DPI
// levels a reset gives. The window and zentrikctl decide everything model- or sensor-dependent
// from here; nothing else compares model codes, model tags or sensor codes.
//
// Adding a model: one row in kMouseModels (mouse_models.cpp), its row picture in the skin
// (res/skin_gen) and a case in the table's test.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/device_record.h"
#include "device/protocol.h"

namespace zentrik::device {

// The DPI grid of a mouse: DPI per step and the number of steps.
struct DpiGrid {
    int step = 100;
    int count = 56;
    constexpr int min_dpi() const { return step; }
    constexpr int max_dpi() const { return step * count; }
};

// A code that stands for every code no row names (the last row of each table).
inline constexpr int kAnyCode = -1;

struct MouseModel {
    int code;                // the identity's model code, or kAnyCode
    const char* row_format;  // the device row; the identity number and firmware fill it
    const char* tag;         // the model as the settings know it; rows may share one
    int row_picture;         // skin image of the device row
    DpiGrid grid;            // count 0: the grid follows the sensor
    bool has_wheel_rate;
    bool offers_adjust_lift;           // the function list's "Adjust lift"
    int axes_box_y;                    // y of "x y indep" on the DPI page
    std::uint16_t absent_button_mask;  // bit b: the model has no button b, its pictures stay
    constexpr bool has_button(int b) const { return (absent_button_mask >> b & 1) == 0; }
};

// The pictures that change with the sensor, in the order of kPictureSetWidgets.
inline constexpr int kPictureSetSize = 10;
using PictureSet = std::array<int, kPictureSetSize>;
inline constexpr std::array<const char*, kPictureSetSize> kPictureSetWidgets = {
    "_mouse p50",  "_mouse p11", "_mouse p11a", "_mouse p11b", "_mouse p11c",
    "_mouse p11d", "z_dpi1",     "z_dpi2",      "z_dpi3",      "z_dpi4"};
inline constexpr int kFirstLevelPicture = 6;  // "z_dpi1"

struct SensorRule {
    int code;           // the identity's sensor code, or kAnyCode
    int step_count;     // steps of the mouse's own DPI step
    DpiGrid grid;       // count 0: none; otherwise it wins over the model's grid
    bool snaps_angles;  // the rate byte's bits 4-6 mean angle snapping
    PictureSet pictures;
};

// The DPI levels (in steps, for levels 1 to 4) a reset writes, by the mouse's own DPI step.
struct ResetDpiLevels {
    int dpi_step;  // or kAnyCode
    std::array<int, kDpiLevelCount> steps;
};

std::span<const MouseModel> mouse_models();
std::span<const SensorRule> sensor_rules();
std::span<const ResetDpiLevels> reset_dpi_table();

// The row of `code`; the kAnyCode row for a code no row names.
const MouseModel& mouse_model(int code);
// The first row with `tag`; the kAnyCode row for a tag no row has.
const MouseModel& mouse_model(std::string_view tag);
const SensorRule& sensor_rule(int sensor);
std::array<int, kDpiLevelCount> reset_dpi_levels(int dpi_step);

// `step_count` of the mouse's own step (a step of 0, from an identity that gives none, is
// read as 100 so that nothing divides by it), then the model's grid, then the sensor's.
DpiGrid dpi_grid(const MouseModel& model, const SensorRule& sensor, int dpi_step);
DpiGrid dpi_grid(std::string_view tag, int sensor, int dpi_step);

// What a mouse can do, from its model and sensor (no exchange).
struct MouseTraits {
    const MouseModel* model;
    const SensorRule* sensor_rule;
    int sensor;  // the mouse's own sensor code
    DpiGrid grid;
    bool has_wheel_rate() const { return model->has_wheel_rate; }
    bool snaps_angles() const { return sensor_rule->snaps_angles; }
};
MouseTraits mouse_traits(const _DEVICE_& mouse);
MouseTraits mouse_traits(std::string_view tag, int sensor, int dpi_step);

// The report-rate byte as the mouse keeps it: the divisor in bits 0-3 (0 read as 1, 9-15 as
// 8, the slowest rate offered), angle snapping in bits 4-6, which mean nothing unless the
// sensor snaps angles; bit 7 is not part of either.
inline constexpr int kMaxRateDivisor = 8;  // 1000 Hz / 8 = 125 Hz
struct RateByte {
    int divisor = 1;
    int snap = 0;
};
RateByte split_rate_byte(std::uint8_t byte, const SensorRule& sensor);
// The byte to send; a sensor that does not snap angles is never sent snapping bits.
std::uint8_t join_rate_byte(const RateByte& rate, const SensorRule& sensor);

// "QX10 - Wired / Wireless Mouse (id: 00A5) , Firmware: v3 , EEPROM: 16K". A mouse whose
// identity could not be read shows "----" and a memory size it does not know as "?".
std::string device_row_text(const _DEVICE_& mouse, std::optional<std::uint16_t> identity);

}  // namespace zentrik::device
