# make run: set up only what the program needs, build (Release) only the
# program in build-run/, run it in lauf/
# make test: set up, build everything (Linux, Windows, Linux with sanitizers),
# run all tests
# make package: the Debian package and the zip of the Windows build
# make serve: build the web page (make web) and serve it on localhost
BUILD := build
# make run's own folder, without the tests, so that it needs none of their
# packages and neither make run nor make test reconfigures the other's build.
BUILD_RUN := build-run
BUILD_WIN := build-windows
BUILD_SAN := build-san
BUILD_FUZZ := build-fuzz
BUILD_WEB := build-web
# Debian's emscripten runs on Debian's python3 and finds its node modules
# only through NODE_PATH when another Node.js comes first on the PATH.
EMSCRIPTEN := NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
JOBS := $(shell nproc 2>/dev/null || echo 2)
ARGS ?=

.PHONY: run test setup setup-run build build-run windows package sanitizer fuzz web serve debug clean

setup:
	@bash tools/einrichten.sh test

setup-run:
	@bash tools/einrichten.sh lauf

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

build-run: setup-run
	cmake -S . -B $(BUILD_RUN) -DCMAKE_BUILD_TYPE=Release -DBORKWERK_TESTS=OFF
	cmake --build $(BUILD_RUN) -j $(JOBS) --target borkwerk

debug: setup
	cmake -S . -B build-debug -DCMAKE_BUILD_TYPE=Debug
	cmake --build build-debug -j $(JOBS)

windows: setup
	cmake -S . -B $(BUILD_WIN) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=tools/mingw-w64.cmake
	cmake --build $(BUILD_WIN) -j $(JOBS)

# AddressSanitizer and UndefinedBehaviorSanitizer, halting on the first fault.
sanitizer: setup
	cmake -S . -B $(BUILD_SAN) -DCMAKE_BUILD_TYPE=Debug -DBORKWERK_SANITIZER=ON
	cmake --build $(BUILD_SAN) -j $(JOBS)

# libFuzzer targets for the script and option readers and the text renderer
# (clang); tests/fuzz/laufen.sh build-fuzz SECONDS runs them longer by hand.
fuzz: setup
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -DCMAKE_BUILD_TYPE=Debug -DBORKWERK_FUZZ=ON
	cmake --build $(BUILD_FUZZ) -j $(JOBS)

# The Debian package in build/ and the zip of the Windows build in
# build-windows/ (CPack).
package: build windows
	cmake --build $(BUILD) --target package
	cmake --build $(BUILD_WIN) --target package

# The page, its script and its WebAssembly in build-web/ (emscripten).
web: setup
	$(EMSCRIPTEN) emcmake cmake -S . -B $(BUILD_WEB) -DCMAKE_BUILD_TYPE=Release
	$(EMSCRIPTEN) cmake --build $(BUILD_WEB) -j $(JOBS)

serve: web
	node tests/web/server.js $(BUILD_WEB)

run: build-run
	mkdir -p lauf
	cd lauf && ../$(BUILD_RUN)/borkwerk $(ARGS)

test: build windows package sanitizer fuzz web
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE lang
	ctest --test-dir $(BUILD_SAN) --output-on-failure -j $(JOBS) -LE lang
	bash tests/fuzz/laufen.sh $(BUILD_FUZZ) 60

clean:
	rm -rf $(BUILD) $(BUILD_RUN) $(BUILD_WIN) $(BUILD_SAN) $(BUILD_FUZZ) $(BUILD_WEB) build-debug lauf
