#include "device/mouse_models.h"

#include <algorithm>
#include <cstdio>

namespace zentrik::device {
namespace {

constexpr PictureSet kUsualPictures = {257, 136, 313, 311, 312, 314, 158, 159, 155, 156};
constexpr PictureSet kSecondPictures = {330, 331, 334, 332, 333, 335, 326, 327, 328, 329};

constexpr DpiGrid kBySensor{0, 0};
constexpr std::uint16_t kAllButtons = 0;
constexpr std::uint16_t kNoButtons5And6 = (1u << 5) | (1u << 6);

// The last row serves every model code not listed.
constexpr MouseModel kMouseModels[] = {
    {1, "QX6 - Wired  Mouse (id: %04X) , Firmware: v%d", "qx6", 232, kBySensor, false, true, 280,
     kNoButtons5And6},
    {0,
     "QX8 - Wired  Mouse (id: %04X) , Firmware: v%d",
     "qx9",
     170,
     {100, 57},
     true,
     true,
     280,
     kAllButtons},
    {7, "QX19 - Wired / Wireless Mouse (id: %04X) , Firmware: v%d", "qx19", 175, kBySensor, false,
     true, 280, kAllButtons},
    {8, "QX10 - Wired / Wireless Mouse (id: %04X) , Firmware: v%d", "qx10", 170, kBySensor, true,
     false, 270, kAllButtons},
    {kAnyCode,
     "QX9 - Wired Zentrik Mouse (id: %04X) , Firmware: v%d",
     "qx9",
     170,
     {100, 57},
     true,
     true,
     280,
     kAllButtons},
};

// The last row serves every sensor code not listed.
constexpr SensorRule kSensorRules[] = {
    {0, 32, kBySensor, false, kUsualPictures},
    {1, 63, kBySensor, true, kUsualPictures},
    {5, 56, {200, 41}, false, kSecondPictures},
    {kAnyCode, 56, kBySensor, false, kUsualPictures},
};

constexpr ResetDpiLevels kResetDpiLevels[] = {
    {90, {5, 10, 20, 40}},
    {200, {4, 8, 12, 16}},
    {kAnyCode, {4, 8, 16, 32}},
};

constexpr int kFallbackDpiStep = 100;

// The row whose key matches, else the last (kAnyCode) row.
template <class Row, class Match>
const Row& find_row(std::span<const Row> rows, Match match) {
    for (const Row& row : rows)
        if (match(row))
            return row;
    return rows.back();
}

}  // namespace

namespace {

MouseTraits traits_of(const MouseModel& model, int sensor_code, int dpi_step) {
    const SensorRule& sensor = sensor_rule(sensor_code);
    return {&model, &sensor, sensor_code, dpi_grid(model, sensor, dpi_step)};
}

}  // namespace

std::span<const MouseModel> mouse_models() {
    return kMouseModels;
}

std::span<const SensorRule> sensor_rules() {
    return kSensorRules;
}

std::span<const ResetDpiLevels> reset_dpi_table() {
    return kResetDpiLevels;
}

const MouseModel& mouse_model(int code) {
    return find_row(mouse_models(), [code](const MouseModel& m) { return m.code == code; });
}

const MouseModel& mouse_model(std::string_view tag) {
    return find_row(mouse_models(), [tag](const MouseModel& m) { return m.tag == tag; });
}

const SensorRule& sensor_rule(int sensor) {
    return find_row(sensor_rules(), [sensor](const SensorRule& s) { return s.code == sensor; });
}

std::array<int, kDpiLevelCount> reset_dpi_levels(int dpi_step) {
    return find_row(reset_dpi_table(),
                    [dpi_step](const ResetDpiLevels& r) { return r.dpi_step == dpi_step; })
        .steps;
}

DpiGrid dpi_grid(const MouseModel& model, const SensorRule& sensor, int dpi_step) {
    DpiGrid grid{dpi_step > 0 ? dpi_step : kFallbackDpiStep, sensor.step_count};
    if (model.grid.count > 0)
        grid = model.grid;
    if (sensor.grid.count > 0)
        grid = sensor.grid;
    return grid;
}

DpiGrid dpi_grid(std::string_view tag, int sensor, int dpi_step) {
    return dpi_grid(mouse_model(tag), sensor_rule(sensor), dpi_step);
}

MouseTraits mouse_traits(const _DEVICE_& mouse) {
    return traits_of(mouse_model(mouse.model), mouse.sensor, mouse.dpi_step);
}

MouseTraits mouse_traits(std::string_view tag, int sensor, int dpi_step) {
    return traits_of(mouse_model(tag), sensor, dpi_step);
}

RateByte split_rate_byte(std::uint8_t byte, const SensorRule& sensor) {
    RateByte rate;
    rate.divisor = std::clamp(byte & 0x0F, 1, kMaxRateDivisor);
    rate.snap = sensor.snaps_angles ? (byte >> 4) & 0x07 : 0;
    return rate;
}

std::uint8_t join_rate_byte(const RateByte& rate, const SensorRule& sensor) {
    const int snap = sensor.snaps_angles ? rate.snap & 0x07 : 0;
    return static_cast<std::uint8_t>((snap << 4) | (rate.divisor & 0x0F));
}

std::string device_row_text(const _DEVICE_& mouse, std::optional<std::uint16_t> identity) {
    char text[160];
    // The formats are the program's own constants, never translated text.
    std::snprintf(text, sizeof text, mouse_model(mouse.model).row_format, identity.value_or(0),
                  mouse.firmware);
    std::string row = text;
    if (!identity) {
        const auto id = row.find("(id: ");
        if (id != std::string::npos)
            row.replace(id + 5, 4, "----");
    }
    char memory[40];
    if (mouse.memory_size > 0)
        std::snprintf(memory, sizeof memory, " , EEPROM: %dK", mouse.memory_size / 1024);
    else
        std::snprintf(memory, sizeof memory, " , EEPROM: ?K");
    return row + memory;
}

}  // namespace zentrik::device
