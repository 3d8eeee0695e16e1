# make        build both trees and assemble build/dist
# make run    ... and start the panel under Wine (screenshots to build/screenshots when headless)
# make test   ... and run every test layer
# make bench  ... and run the benchmarks (figures only)
# make soak   ... and run the long reliability runs (figures; fails on a crash, hang or leak)
# make installer  ... and say where the Windows setup program is
.PHONY: all setup native win run test bench soak installer format clean

JOBS ?= 2

all: win

setup:
	@bash tools/setup.sh

# configure again when the presets change (new cache variables)
build/native/build.ninja: CMakePresets.json | setup
	cmake --preset native >/dev/null

build/win/build.ninja: CMakePresets.json | setup
	cmake --preset win >/dev/null

native: setup build/native/build.ninja
	cmake --build build/native -j $(JOBS)

# the Windows tree runs the skin generator built by the native tree
win: native build/win/build.ninja
	cmake --build build/win -j $(JOBS)

run: all
	@bash tools/run-panel.sh

test: all
	@bash tools/run-tests.sh

bench: all
	@bash tools/run-bench.sh

soak: all
	@bash tools/run-soak.sh

installer: all
	@if [ -f build/installer/QuorelleCPL-Setup.exe ]; then echo build/installer/QuorelleCPL-Setup.exe; \
	else echo "no setup program: makensis is missing (tools/setup.sh installs nsis)" >&2; exit 1; fi

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
