# Front door: `make demo` runs the program against the simulated sensor,
# `make test` builds and runs the whole test suite.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
DEMO_PORTS ?= $(CURDIR)/$(BUILD)/demo-ports

.PHONY: all deps build test test-asan demo bench soak format clean guide

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# The tests of a plant's record run against a PostgreSQL server of their own
# (scripts/with-postgres), started for the run and removed after it.
test: build
	scripts/with-postgres sh -c 'cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)'

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVELTRA_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	scripts/with-postgres sh -c 'cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)'

# A level sensor (model 20) on port 1 answering at 19200 baud; press
# "Set com port" and the connected notice appears.
demo: build
	@mkdir -p $(DEMO_PORTS)
	@VELTRA_PORTS_DIR=$(DEMO_PORTS) $(BUILD)/sim/veltra-sim --model 20 --baud 19200 --port 1 --distance 150 --wave sine:40:300 \
		> $(BUILD)/demo-sim.out 2> $(BUILD)/demo-sim.log & \
	sim=$$!; trap 'kill $$sim 2>/dev/null' EXIT INT TERM; \
	for i in $$(seq 50); do [ "$$(wc -l < $(BUILD)/demo-sim.out)" -ge 1 ] && break; sleep 0.2; done; \
	echo "Simulated sensor on port 1: $$(head -n 1 $(BUILD)/demo-sim.out) (log: $(BUILD)/demo-sim.log)"; \
	VELTRA_PORTS_DIR=$(DEMO_PORTS) $(BUILD)/app/veltra-sensor

# The user guide's pictures and model table (docs/guide), drawn by the program
# itself against veltra-sim on a virtual X server. tst_guide draws them again
# and fails when the program now draws a window differently.
guide: build
	rm -f docs/guide/pictures/*.png
	env -u QT_QPA_PLATFORM -u QT_FONT_DPI xvfb-run -a -s "-screen 0 2600x1800x24" \
		$(BUILD)/tools/pictures/veltra-pictures --out docs/guide/pictures --models docs/guide/models.md

bench: build
	$(BUILD)/bench/veltra-bench-handshake --sim $(BUILD)/sim/veltra-sim

# Long measure run and write/read cycles against the simulator, watching
# memory; SOAK_MEASUREMENTS and SOAK_CYCLES set the sizes.
soak: build
	bench/soak.sh $(BUILD)

# libFuzzer targets (fuzz/README.md), built with clang in a folder of their
# own; each runs FUZZ_SECONDS seconds after its saved regressions.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: fuzz
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRA_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target veltra_fuzzers
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Applies .clang-format to every C++ file the repository tracks.
format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# Start-up time, memory and idle wake-ups of veltra-sensor against a bare Qt
# window, under Xvfb; STARTUP_RUNS and STARTUP_IDLE_SECONDS set the sizes.
.PHONY: bench-startup
bench-startup: build
	bench/startup.sh $(BUILD)

# The trend's data and chart at 24 hours of points: time to add a point and
# to redraw, and memory.
.PHONY: bench-trend
bench-trend: build
	$(BUILD)/bench/veltra-bench-trend

# veltra-cli scan and restore --port all against 1, 4 and 8 simulators.
.PHONY: bench-parallel
bench-parallel: build
	bench/parallel.sh $(BUILD)

# The Debian package, $(BUILD)/veltra-sensor_<version>_<arch>.deb, from a
# Release build; scripts/check-package checks it once installed.
.PHONY: package
package: build
	cd $(BUILD) && cpack -G DEB

# The commissioning record: 10,000 entries from 8 writers into SQLite and a
# PostgreSQL server of its own, the time an entry adds to a restore, and
# history over 100,000 entries.
.PHONY: bench-record
bench-record: build
	scripts/with-postgres $(BUILD)/bench/veltra-bench-record --cli $(BUILD)/cli/veltra-cli --sim $(BUILD)/sim/veltra-sim
