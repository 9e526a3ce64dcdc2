# The two commands of the README: `make run` and `make test`. Both install what is missing,
# then configure and build with CMake.
JOBS      ?= $(shell nproc)
BUILD     ?= build
ASAN      ?= build-asan
WINDOWS   ?= build-windows
FUZZ      ?= build-fuzz
FUZZ_TIME ?= 60
FUZZ_TEST_TIME ?= 5
FUZZERS    = capture iddb ids search args hardware_id sysfs field_number caps
XVFB       = xvfb-run -a -s "-screen 0 1280x1024x24"

.PHONY: all deps build run test test-main test-asan test-fuzz bench fuzz fuzz-build format clean \
        windows test-windows deb windows-installer

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)

test: test-main test-asan test-fuzz

# The Debian package, built by CPack from what `cmake --install` installs:
# $(BUILD)/kelvox_VERSION-1_ARCH.deb. `make test` builds it too, to check it.
deb: build
	cd $(BUILD) && cpack -G DEB

test-main: build deb
	cd $(BUILD) && $(XVFB) ctest --output-on-failure -j $(JOBS)

$(ASAN)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DKELVOX_SANITIZE=ON -DKELVOX_BUILD_BENCH=OFF

test-asan: deps $(ASAN)/CMakeCache.txt
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && $(XVFB) ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b; done

# The libFuzzer targets of fuzz/, built with clang (installed when missing) into $(FUZZ).
fuzz-build:
	@scripts/install-deps.sh --fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKELVOX_FUZZ=ON -DKELVOX_BUILD_UI=OFF -DKELVOX_BUILD_BENCH=OFF
	cmake --build $(FUZZ) -j $(JOBS) --target $(FUZZERS:%=%_fuzzer)

# $(call run-fuzzers,CORPUS,SECONDS): each target run for SECONDS from CORPUS/<target>, which
# gets a copy of its seed corpus first (the seeds in fuzz/corpus/ are never written); inputs
# that fail are saved in $(FUZZ)/crashes/. One input running 30 s is a failure too. Fails when
# any target does.
run-fuzzers = failed=""; passed=0; for f in $(FUZZERS); do \
	  mkdir -p $(1)/$$f $(FUZZ)/crashes && cp fuzz/corpus/$$f/* $(1)/$$f/ && \
	  echo "== $${f}_fuzzer for $(2) s" && \
	  $(FUZZ)/fuzz/$${f}_fuzzer -max_total_time=$(2) -timeout=30 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ)/crashes/$$f- $(1)/$$f && passed=$$((passed + 1)) || \
	    failed="$$failed $$f"; \
	done; \
	echo "fuzz: $$passed passed, $$(echo $$failed | wc -w) failed"; \
	if [ -n "$$failed" ]; then echo "fuzz: failed:$$failed (inputs in $(FUZZ)/crashes/)"; exit 1; fi

# `make fuzz`: each target for FUZZ_TIME seconds, from $(FUZZ)/corpus/, which keeps what
# earlier runs found.
fuzz: fuzz-build
	@$(call run-fuzzers,$(FUZZ)/corpus,$(FUZZ_TIME))

# Part of `make test`: each target for FUZZ_TEST_TIME seconds from a fresh copy of its seeds.
test-fuzz: fuzz-build
	rm -rf $(FUZZ)/test-corpus
	@$(call run-fuzzers,$(FUZZ)/test-corpus,$(FUZZ_TEST_TIME))

# kelvox.exe and kelvox-cli.exe cross-built with MinGW-w64 against static wxWidgets (built once
# into ~/.cache/kelvox), and their tests run under Wine.
windows:
	@JOBS=$(JOBS) scripts/windows/build.sh $(WINDOWS)

# The Windows installer, made with NSIS from the Windows build: $(WINDOWS)/Kelvox-Setup-VERSION.exe.
windows-installer: windows
	cmake --build $(WINDOWS) --target windows_installer

test-windows: windows-installer
	@JOBS=$(JOBS) scripts/windows/test.sh $(WINDOWS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN)
