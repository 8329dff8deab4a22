# Front door: `make run`, `make test`, `make bench`; `make package`, `make install`.
BUILD   ?= build
ASAN    ?= build-asan
APP     ?= voxtrelle
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?=
PREFIX  ?= /usr/local
PKG_BUILD ?= build-package

.PHONY: deps configure build run test test-asan bench format clean install uninstall package

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
	rm -rf $(BUILD) $(ASAN) $(PKG_BUILD)
