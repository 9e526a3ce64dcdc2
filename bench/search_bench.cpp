// Cost of one keystroke in the vendor search window's rules: the handler that runs on each
// change of a field, from the typed text to the names it shows (CP932 conversion, parse and
// lookups), without the widgets.
#include <benchmark/benchmark.h>

#include "search/search_form.h"

namespace {

// The fourth character of the last vendor row: conversion, parse, the longest vendor scan and
// the device lookup the found vendor triggers.
void BM_VendorKeystroke_LastVendor(benchmark::State& state) {
  kelvox::SearchForm form;
  for (auto _ : state) {
    form.fields.vendor_id = "FA57";
    form.OnVendorIdChanged();
    benchmark::DoNotOptimize(form.fields.vendor_full_name);
  }
}
BENCHMARK(BM_VendorKeystroke_LastVendor);

// A vendor ID no row holds: a full vendor scan, then clearing the device fields.
void BM_VendorKeystroke_Miss(benchmark::State& state) {
  kelvox::SearchForm form;
  for (auto _ : state) {
    form.fields.vendor_id = "FFFF";
    form.OnVendorIdChanged();
    benchmark::DoNotOptimize(form.fields.vendor_full_name);
  }
}
BENCHMARK(BM_VendorKeystroke_Miss);

// A device ID the found vendor does not have: a full scan of the device table.
void BM_DeviceKeystroke_Miss(benchmark::State& state) {
  kelvox::SearchForm form;
  form.fields.vendor_id = "10de";
  form.OnVendorIdChanged();
  for (auto _ : state) {
    form.fields.device_id = "ffff";
    form.OnDeviceIdChanged();
    benchmark::DoNotOptimize(form.fields.chip_name);
  }
}
BENCHMARK(BM_DeviceKeystroke_Miss);

// The sixth character of a class code: a walk of every class row.
void BM_ClassKeystroke_SixCharacters(benchmark::State& state) {
  kelvox::SearchForm form;
  for (auto _ : state) {
    form.fields.class_code = "010601";
    form.OnClassCodeChanged();
    benchmark::DoNotOptimize(form.fields.prog_if_name);
  }
}
BENCHMARK(BM_ClassKeystroke_SixCharacters);

}  // namespace
