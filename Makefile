# Front door: `make run`, `make test`, `make bench`; `make package`, `make install`.
BUILD   ?= build
ASAN    ?= build-asan
TSAN    ?= build-tsan
APP     ?= voxtrelle
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?=
PREFIX  ?= /usr/local
PKG_BUILD ?= build-package

.PHONY: deps configure build run test test-asan test-tsan sanitizer-build fuzz fuzz-smoke bench \
	format clean install uninstall package

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/$(APP) ]; then $(BUILD)/bin/$(APP); \
	else echo "$(APP) is not built yet"; fi

# Every test, the window tests on a virtual display; then the sanitizer runs and the fuzz
# programs' smoke run.
test: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-asan
	$(MAKE) fuzz-smoke
	$(MAKE) test-tsan

# One clang build serves both the AddressSanitizer/UndefinedBehaviorSanitizer tests and the
# fuzz programs: everything in it is built with the sanitizers and libFuzzer's coverage.
SAN_CMAKE = -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
	-DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"
ASAN_TESTS  = audio_tests media_tests playback_tests cli_tests zentora_core_tests
ASAN_LABELS = ^(audio|media|playback|cli|zcore)$$
FUZZERS     = wav_reader_fuzz media_decode_fuzz asf_tags_fuzz settings_fuzz update_answer_fuzz
SAN_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

sanitizer-build: deps
	cmake -S . -B $(ASAN) $(SAN_CMAKE) -DFUZZ=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN) -j $(JOBS) --target $(ASAN_TESTS) fuzzers
	bash scripts/make-fuzz-seeds.sh $(ASAN)/fuzz-seeds

test-asan: sanitizer-build
	cd $(ASAN) && $(SAN_ENV) ctest --output-on-failure -j $(JOBS) -L '$(ASAN_LABELS)'

# Each fuzz program over its seeds, then FUZZ_SMOKE_SECONDS of fuzzing from them; any crash,
# leak, sanitizer report or input slower than FUZZ_TIMEOUT seconds fails. (The slowest inputs
# known, ASF headers full of bogus attributes, take TagLib 0.5 s in a normal build and up to
# forty times that under AddressSanitizer on a busy machine.)
FUZZ_SMOKE_SECONDS ?= 20
FUZZ_SECONDS ?= 60
export FUZZ_TIMEOUT ?= 60
fuzz-smoke: sanitizer-build
	rm -rf $(ASAN)/fuzz-smoke
	bash scripts/run-fuzzers.sh $(ASAN) $(FUZZ_SMOKE_SECONDS) $(ASAN)/fuzz-smoke $(FUZZERS)

# `make fuzz FUZZ_SECONDS=600`: each fuzz program for that long; the corpus grows in
# $(ASAN)/fuzz-corpus, findings land in $(ASAN)/fuzz-crashes.
fuzz: sanitizer-build
	bash scripts/run-fuzzers.sh $(ASAN) $(FUZZ_SECONDS) $(ASAN)/fuzz-corpus $(FUZZERS)

# ThreadSanitizer, only for the programs whose code shares data between threads: the load/save
# job worker, the player and the cutter's tool runners and update client.
TSAN_TESTS = media_tests playback_tests zentora_core_tests
TSAN_REGEX = (^|/)(JobWorkerLifetime|FileJob|CancelledJob|JobProgress|WavePlayerTest|WaveOutSdlTest|SelectionPlayTest|CursorTimerTest|UpdateAnswerFromServer|UpdateAnswer|UpdateRequest|UsageReport|UpdateThread|ToolProcessTest|RealCut|CancelCut|FailedCut)\.
TSAN_ENV = TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/scripts/sanitizers/tsan.supp
test-tsan: deps
	cmake -S . -B $(TSAN) $(SAN_CMAKE) -DSANITIZE_THREAD=ON $(CMAKE_FLAGS)
	cmake --build $(TSAN) -j $(JOBS) --target $(TSAN_TESTS)
	cd $(TSAN) && $(TSAN_ENV) ctest --output-on-failure -j $(JOBS) -R '$(TSAN_REGEX)'

# `sudo make install` (PREFIX=/usr/local unless given; DESTDIR honoured), `sudo make uninstall`.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	cmake --build $(BUILD) --target uninstall

# The Debian packages voxtrelle_*.deb and zentora_*.deb in $(PKG_BUILD)/packages/: the
# programs built in a folder of their own with Debian's hardening flags (dpkg-buildflags),
# then packed by CPack from the install rules. The tests are not built there.
package: deps
	eval "$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"; \
	CFLAGS="$$CFLAGS $$CPPFLAGS" CXXFLAGS="$$CXXFLAGS $$CPPFLAGS" \
	cmake -S . -B $(PKG_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON $(CMAKE_FLAGS)
	cmake --build $(PKG_BUILD) -j $(JOBS) --target voxtrelle voxtrelle-cli zentora \
	  program_icons documents zentora_sample
	cd $(PKG_BUILD) && cpack -G DEB
	@ls $(PKG_BUILD)/packages/*.deb

bench: build
	@for b in $(BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done; true

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN) $(TSAN) $(PKG_BUILD)
