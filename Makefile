# make run: set up, build (Release), run the program in lauf/
# make test: set up, build everything (Linux and Windows), run all tests
BUILD := build
BUILD_WIN := build-windows
JOBS := $(shell nproc 2>/dev/null || echo 2)
ARGS ?=

.PHONY: run test setup build windows debug clean

setup:
	@bash tools/einrichten.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

debug: setup
	cmake -S . -B build-debug -DCMAKE_BUILD_TYPE=Debug
	cmake --build build-debug -j $(JOBS)

windows: setup
	cmake -S . -B $(BUILD_WIN) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=tools/mingw-w64.cmake
	cmake --build $(BUILD_WIN) -j $(JOBS)

run: build
	mkdir -p lauf
	cd lauf && ../$(BUILD)/borkwerk $(ARGS)

test: build windows
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(BUILD_WIN) build-debug lauf
