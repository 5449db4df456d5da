# The two commands of the README:
#   make run    install what is missing, build, start the desktop program on the demo database
#   make test   install what is missing, build, run every test (SQLite and PostgreSQL)
#   make fuzz   build the fuzz targets with clang in build-fuzz, run each for FUZZ_SECONDS
#   make lint   clang-tidy over src/ with the checks of .clang-tidy; fails on any finding
BUILD ?= build
DEMO_DB ?= $(BUILD)/demo.sqlite
FUZZ_SECONDS ?= 60

.PHONY: run test build deps bench package clean fuzz lint

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $$(nproc)

run: build
	$(BUILD)/src/cli/velmora-cli --db sqlite:$(DEMO_DB) init --demo
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display: the desktop program cannot open a window here."; \
	  echo "Use the same work from the shell, for example:"; \
	  echo "  $(BUILD)/src/cli/velmora-cli --db sqlite:$(DEMO_DB) --login demo calc 10000001 --month $$(date +%m/%Y) --json"; \
	  echo "  (the password is demo1234)"; \
	  echo "  $(BUILD)/src/cli/velmora-cli --help"; \
	else \
	  $(BUILD)/src/app/velmora --db sqlite:$(DEMO_DB); \
	fi

test: deps
	VELMORA_BUILD_DIR=$(BUILD) tests/run-tests.sh

# The Debian package (velmora_<version>_<arch>.deb in the build folder):
#   make package && sudo apt install ./build/velmora_*.deb
package: build
	cd $(BUILD) && cpack -G DEB

# Builds the benchmarks and runs each once at its default size; the figures
# and the commands for other sizes are in docs/performance-*.md.
bench: build
	bench/run.sh $(BUILD)

# Builds the fuzz targets with clang and runs each for FUZZ_SECONDS (60 by default).
fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) tools/fuzz-ci.sh

# clang-tidy 14 over every source file of src/ through the compile commands of
# the build folder (configured as the tests do if there is none yet).
lint: deps
	VELMORA_BUILD_DIR=$(BUILD) tools/lint.sh

clean:
	rm -rf $(BUILD)
