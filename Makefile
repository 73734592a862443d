# make run   installs what is missing, builds and starts the program
# make test  installs what is missing, builds and runs the whole test suite
# make bench builds and runs the benchmarks (never part of make test)
# make package builds the Debian package

BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES = cmake make g++ qt6-base-dev libgl-dev libbenchmark-dev fonts-liberation \
           fontconfig xvfb xauth desktop-file-utils appstream file dpkg-dev
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test bench package format clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' \
	        || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    $(SUDO) apt-get update && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/korvelian

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Medians only; the figure at device pixel ratio 1 and 2, then the animation.
bench: build
	@for ratio in 1 2; do \
	    echo "== figure redraw, device pixel ratio $$ratio"; \
	    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$$ratio $(BUILD)/bench/bench_figure \
	        | grep -E '^(Benchmark|-+$$|.*_median)'; \
	done
	@echo "== animation"
	@QT_QPA_PLATFORM=offscreen $(BUILD)/bench/bench_animation

# A Debian package in the project folder: apt install ./korvelian_1.00_amd64.deb
package: build
	cd $(BUILD) && cpack -G DEB
	cp $(BUILD)/korvelian_*.deb .

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
