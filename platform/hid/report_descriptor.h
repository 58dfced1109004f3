#pragma once
// A HID report descriptor read as the host's HID layer reads it: which top-level collections an
// interface has, and how long each of their input, output and feature reports is.
//
// Lengths follow the host convention for report buffers: the longest report of that type in the
// collection (items summed per report id) in whole bytes, plus one byte for the report id, which
// is counted even when the descriptor declares no report ids. A collection with no report of a
// type has length 0 for it.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/hid_backend.h"

namespace zentrik::platform::hid {

struct ReportDescriptorInfo {
    // The application collections at the top level, in descriptor order. Only collections whose
    // End Collection was reached are listed.
    std::vector<HidCollectionCaps> collections;
    // For each of `collections`, the ids of its input reports in ascending order ({0} for a
    // collection with input reports in a descriptor without report ids). hidraw hands out every
    // input report of the interface; these tell which belong to the collection.
    std::vector<std::vector<std::uint8_t>> input_report_ids;
    // True when the descriptor declares report ids: every report then starts with its id byte.
    bool numbered_reports = false;
    // Empty when the whole descriptor was read; otherwise why reading stopped, and the offset of
    // the item that stopped it. What was read before that is kept.
    std::string error;
    std::size_t error_offset = 0;

    bool ok() const { return error.empty(); }
};

// Never reads outside `descriptor` and never throws; bad input ends in `error`.
ReportDescriptorInfo parse_report_descriptor(std::span<const std::uint8_t> descriptor);

}  // namespace zentrik::platform::hid
