# Front door: `make run`, `make test`, `make bench`.
BUILD   ?= build
ASAN    ?= build-asan
APP     ?= voxtrelle
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build run test test-asan bench format clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/$(APP) ]; then $(BUILD)/bin/$(APP); \
	else echo "$(APP) is not built yet"; fi

# Every test, the window tests on a virtual display; then the audio core under the sanitizers.
test: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-asan

test-asan: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN) -j $(JOBS) --target audio_tests
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS) -L audio

bench: build
	@for b in $(BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done; true

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN)
