// The device details sheet as kelvox-cli prints it: as text, the caption and every field of
// the three pages under the pages' titles and labels, one field per line; as JSON, the same
// texts with the register values they were made from.
//
// Text layout, one line each:
//   the caption
//   "[" page title "]" before each page's fields
//   "LABEL: TEXT" for a field with a label of its own; "  TEXT" (two blanks) for a field
//   without one: the names beside the IDs on "ベンダ情報", and the registers under their group
//   label ("ベースアドレスレジスタ", "拡張ＲＯＭベースアドレス"), which stands alone on its line;
//   "-" for a text that is empty (a name the list does not give).
#pragma once

#include <span>
#include <string>

#include "cli/json_output.h"
#include "config/recording_access.h"
#include "details/device_details.h"

namespace kelvox::cli {

// The text layout above, every line ending in a newline.
std::string DetailsText(const DeviceDetails& details);

// The JSON object of the details: "caption" and "pages" (see the README for the schema).
// `reads` are the accesses BuildDeviceDetails made, which give each field's value.
Json DetailsJson(const DeviceDetails& details, std::span<const ConfigAccessRecord> reads);

}  // namespace kelvox::cli
