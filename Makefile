# make run   installs what is missing, builds and starts the program
# make test  installs what is missing, builds and runs the whole test suite, then lintian
#            on the Debian package
# make bench builds and runs the benchmarks (never part of make test)
# make package builds the Debian package
# make check-sanitize runs the tests built with ASan and UBSan; make fuzz fuzzes for a minute
# make check-portable builds the folders without Qt for 64-bit ARM and runs the model's checks
# make check-audio plays "Ton" through a private PulseAudio and checks the recording
# make check-browsers runs the browser edition's smoke checks in Firefox and WebKit
# make soak  runs the random-action soak with fresh seeds and prints the seed of a failure
# make measure-window measures the start to the first picture and the running beam in a real
#            window under Xvfb and openbox
#            (tools/measure_window.py; several minutes, best on a quiet machine)
# make web   builds the browser edition, one file: build/web/korvelian.html
# make run-web opens it in the system's browser
# make mutate puts the faults of tools/mutants.txt into a copy of the tree one at a time and
#            reports those the suite misses (slow; never part of .ci/run)

BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES = cmake make g++ qt6-base-dev qt6-svg-dev qt6-multimedia-dev libgl-dev libpng-dev \
           libfontconfig-dev fonts-liberation fontconfig desktop-file-utils appstream file dpkg-dev libxcb1-dev \
           qt6-translations-l10n lintian man-db python3 clang-format
# Only the target named needs these: who builds and runs the program never does.
# The window under a real window manager (tests/check_windowmanager.sh); Ghostscript makes a
# printed page into pixels (tst_pictureexporter).
TEST_PACKAGES = xvfb openbox xdotool wmctrl x11-utils x11-xserver-utils ghostscript
PORTABLE_PACKAGES = g++-aarch64-linux-gnu qemu-user
BENCH_PACKAGES = libbenchmark-dev
FUZZ_PACKAGES = clang libclang-rt-14-dev
# The X server's damage reports, which tools/measure_window.py counts frames by.
WINDOW_PACKAGES = python3-xlib
# The browser edition: Debian's clang 16 for WebAssembly with its C and C++ libraries, Binaryen
# (the animation's waits unwind to the page), and for its tests Chromium and Node.js, which drive
# it through the pinned puppeteer-core of package-lock.json (npm ci; it downloads no browser).
WEB_PACKAGES = clang-16 lld-16 llvm-16 wasi-libc libc++-16-dev-wasm32 libc++abi-16-dev-wasm32 \
               libclang-rt-16-dev-wasm32 binaryen chromium nodejs python3
WEB_BUILD ?= $(BUILD)/web
# The browsers beside Chromium for make check-browsers: Firefox ESR, and WebKitGTK (the engine
# Safari uses) through its WebDriver, on an Xvfb of its own.
BROWSER_PACKAGES = firefox-esr webkit2gtk-driver xvfb
# A private audio server for make check-audio and make bench (parec, pacat and pactl come with
# the utils); the program plays through whatever server the desktop runs.
AUDIO_PACKAGES = pulseaudio pulseaudio-utils
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)
VERSION = $(shell grep -o 'korvelian VERSION [0-9.]*' CMakeLists.txt | cut -d' ' -f3)
DEB = korvelian_$(VERSION)_$(shell dpkg --print-architecture).deb

.PHONY: all deps configure build run web run-web web-test-deps test soak mutate check-sanitize check-portable check-audio \
        check-browsers \
        fuzz bench measure-window package format format-check clean

all: build

# $(call install,packages): installs those of the Debian packages that are missing.
define install
	@missing=""; \
	for p in $(1); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' \
	        || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    $(SUDO) apt-get update && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install,$(PACKAGES))

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/korvelian

web:
	$(call install,$(WEB_PACKAGES))
	cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake
	cmake --build $(WEB_BUILD) -j $(JOBS)

run-web: web
	$(call install,xdg-utils)
	xdg-open $(WEB_BUILD)/korvelian.html

# What the browser tests need beside the page: npm where Node.js came without it, and the
# pinned driver.
web-test-deps: web
	@command -v npm >/dev/null || { $(SUDO) apt-get update && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends npm; }
	npm ci --no-audit --no-fund

# Any lintian error or warning fails the run; README says why none is overridden.
test: package format-check web-test-deps
	$(call install,$(TEST_PACKAGES))
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd $(WEB_BUILD) && ctest --output-on-failure
	lintian --fail-on error,warning $(DEB)

# The suite's soak runs one fixed seed; this one draws SOAK_RUNS fresh seeds of SOAK_ACTIONS
# actions each. KORVELIAN_SOAK_SEED=<seed> replays a failure.
SOAK_RUNS ?= 5
SOAK_ACTIONS ?= 20000
# Random figures per seed for the raster's boxes and pixels against the plain path.
RASTER_CASES ?= 400
soak: build
	@for run in $$(seq $(SOAK_RUNS)); do \
	    seed=$$(od -An -N4 -tu4 /dev/urandom | tr -d ' '); \
	    echo "soak $$run of $(SOAK_RUNS): seed $$seed, $(SOAK_ACTIONS) actions"; \
	    QT_QPA_PLATFORM=offscreen KORVELIAN_SOAK_SEED=$$seed KORVELIAN_SOAK_ACTIONS=$(SOAK_ACTIONS) \
	        $(BUILD)/tests/widgets/tst_widgets soak > $(BUILD)/soak.log 2>&1 || { \
	        grep -E '^(FAIL|   Loc)' -A12 $(BUILD)/soak.log; \
	        echo "soak failed with seed $$seed: replay with KORVELIAN_SOAK_SEED=$$seed"; exit 1; }; \
	done
	@for run in $$(seq $(SOAK_RUNS)); do \
	    seed=$$(od -An -N4 -tu4 /dev/urandom | tr -d ' '); \
	    echo "raster $$run of $(SOAK_RUNS): seed $$seed, $(RASTER_CASES) random figures"; \
	    QT_QPA_PLATFORM=offscreen KORVELIAN_RASTER_SEED=$$seed KORVELIAN_RASTER_CASES=$(RASTER_CASES) \
	        $(BUILD)/tests/unit/tst_raster figureraster randomFiguresKeepTheirBoxesAndPixels \
	        aPreviewLightsOnlyPixelsTheFigureLights \
	        > $(BUILD)/raster-soak.log 2>&1 || { \
	        grep -E '^(FAIL|   Loc)' -A3 $(BUILD)/raster-soak.log; \
	        echo "raster failed with seed $$seed: replay with KORVELIAN_RASTER_SEED=$$seed"; exit 1; }; \
	done

# 3 : 2 at 220 Hz through the window's own output into a null sink of a PulseAudio started for
# the check alone; the recording must hold 220 Hz left, 330 Hz right and no click.
check-audio: build
	$(call install,$(AUDIO_PACKAGES))
	python3 tests/check_audio.py $(BUILD)/tests/sound_roundtrip

# The start figure, a bar, a refusal, a link and the beam in Firefox and WebKit as in Chromium.
check-browsers: build web-test-deps
	$(call install,$(BROWSER_PACKAGES))
	tests/check_browsers.sh $(BUILD)/korvelian $(WEB_BUILD)/korvelian.html

mutate: deps
	python3 tools/mutate.py

# Medians only; the figure at device pixel ratio 1 and 2, then the animation.
# The whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
SANITIZE_BUILD ?= build-sanitize
check-sanitize: deps
	$(call install,$(TEST_PACKAGES))
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVELIAN_SANITIZE=ON \
	    -DKORVELIAN_BENCHMARKS=OFF
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS)

# The folders without Qt, cross-built for ARM (cmake/aarch64-linux-gnu.cmake), and the model's
# checks run there under qemu-user.
PORTABLE_BUILD ?= build-portable
check-portable:
	$(call install,$(PORTABLE_PACKAGES))
	cmake -S . -B $(PORTABLE_BUILD) -DCMAKE_BUILD_TYPE=Release -DKORVELIAN_QT_FREE_ONLY=ON \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
	cmake --build $(PORTABLE_BUILD) -j $(JOBS)
	cd $(PORTABLE_BUILD) && ctest --output-on-failure

# A one-minute libFuzzer run over number reading, 16-bit conversion and the ratio guard.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	$(call install,$(FUZZ_PACKAGES))
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DKORVELIAN_QT_FREE_ONLY=ON -DKORVELIAN_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_model
	mkdir -p $(FUZZ_BUILD)/corpus
	$(FUZZ_BUILD)/fuzz/fuzz_model -max_total_time=$(FUZZ_SECONDS) -timeout=5 -max_len=256 \
	    $(FUZZ_BUILD)/corpus fuzz/seeds

bench: build web-test-deps
	$(call install,$(BENCH_PACKAGES) $(AUDIO_PACKAGES) $(TEST_PACKAGES) $(WINDOW_PACKAGES))
	cmake -S . -B $(BUILD) -DKORVELIAN_BENCHMARKS=ON
	cmake --build $(BUILD) -j $(JOBS) --target bench_figure bench_zoom bench_animation bench_sound \
	    bench_worstcase
	@for ratio in 1 2; do \
	    echo "== figure redraw, device pixel ratio $$ratio"; \
	    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$$ratio \
	        tools/runbench.sh $(BUILD)/bench/bench_figure || exit 1; \
	done
	@echo "== zoomed redraw, device pixel ratio 1"
	@QT_QPA_PLATFORM=offscreen tools/runbench.sh $(BUILD)/bench/bench_zoom
	@echo "== zoom 100 % at device pixel ratio 2, the same device pixels as zoom 200 %"
	@QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 tools/runbench.sh $(BUILD)/bench/bench_zoom \
	    --benchmark_filter='zoom:1/'
	@echo "== figures where little can be skipped, against the plain path in the same run"
	@tools/runbench.sh $(BUILD)/bench/bench_worstcase
	@echo "== animation; view 0 plain, 1 afterglow, 2 drifting phase, 3 time signals, 4 reading aid, 5 every view"
	@QT_QPA_PLATFORM=offscreen ROWS=all tools/runbench.sh $(BUILD)/bench/bench_animation
	@echo "== animation at device pixel ratio 2, 3 : 2 and 32767 : 1 plain"
	@QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 ROWS=all tools/runbench.sh \
	    $(BUILD)/bench/bench_animation --benchmark_filter='K:(6|32767)/view:0/zoom:(100|200)/'
	@echo "== sound alone, animation alone, both (a private audio server plays into a null sink)"
	@QT_QPA_PLATFORM=offscreen python3 tests/check_audio.py --beside $(BUILD)/bench/bench_sound
	@echo "== the largest exports: clock, processor time, peak memory"
	@tools/bench_export.py $(BUILD)/korvelian
	@echo "== start to the first picture under Xvfb and openbox, fresh and with every view"
	@tools/measure_window.py $(BUILD)/korvelian --start --repeat 5
	@tools/measure_window.py $(BUILD)/korvelian --start --remembered --repeat 5
	@echo "== the lesson views in the window a user sees: full screen, the time signals at 100 %"
	@tools/measure_window.py $(BUILD)/korvelian --ratios 1 --zooms full --figures 3:2,32767:1 \
	    --views afterglow,drift,all --repeat 1 --seconds 6
	@tools/measure_window.py $(BUILD)/korvelian --ratios 1 --zooms 100 --figures 3:2 \
	    --views timesignals --repeat 1 --seconds 6
	@echo "== the browser edition in headless Chromium, beside the desktop's rows above"
	@node tools/bench_browser.mjs $(WEB_BUILD)/korvelian.html 5

# Frames per second and processor time of "Schwingung" in the window a user sees, at every
# zoom, full screen and device pixel ratio 2; never part of make test or make bench.
measure-window: build
	$(call install,$(TEST_PACKAGES) $(WINDOW_PACKAGES))
	tools/measure_window.py $(BUILD)/korvelian --start --repeat 5
	tools/measure_window.py $(BUILD)/korvelian --start --remembered --repeat 5
	tools/measure_window.py $(BUILD)/korvelian

# A Debian package in the project folder: apt install ./korvelian_1.00_amd64.deb
# The browser edition goes into the package as well (/usr/share/korvelian/korvelian.html).
package: build web
	cd $(BUILD) && cpack -G DEB
	cp $(BUILD)/$(DEB) .

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# Every file as make format leaves it.
format-check: deps
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
