# `make run` builds the program with its word files and starts Quorvane; `make test` builds
# everything and runs every test headless.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build test run bench format clean

all: build

deps:
	@tools/setup-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: configure
	cmake --build $(BUILD) -j $(JOBS) --target quorvane wordfiles
	$(BUILD)/bin/quorvane

bench: build
	$(BUILD)/bin/quorvane-bench

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
