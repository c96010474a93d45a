# make run   - install what is missing, build the editor optimised (build-release), start it
# make test  - the same set-up, a Debug build with the sanitised core, then every test
# make bench - benchmarks (Release build), never part of make test
# make fuzz  - fuzz the RTF reader and the program-file codec side by side (FUZZ_SECONDS, default 60)
# make soak  - random edit commands in the offscreen window, whole tree under ASan+UBSan (SOAK_COMMANDS, default 10000)
# make install PREFIX=... - build optimised (build-release) and install under PREFIX (default /usr/local)
# make deb   - the Debian package tarmel_<version>_<arch>.deb in build-deb/

BUILD      ?= build
TYPE       ?= Debug
RUN_DIR    ?= build-release
RUN_TYPE   ?= Release
JOBS       ?= $(shell nproc)
BENCH_DIR  ?= build-bench
FUZZ_DIR   ?= build-fuzz
FUZZ_SECONDS ?= 60
SOAK_DIR   ?= build-soak
SOAK_COMMANDS ?= 10000
SOAK_SEED  ?= 1
PREFIX     ?= /usr/local
DEB_DIR    ?= build-deb

.PHONY: setup configure build run test bench fuzz soak install deb clean

setup:
	@bash scripts/setup.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(TYPE) -DTARMEL_SANITIZE_CORE=ON

$(RUN_DIR)/build.ninja:
	cmake -S . -B $(RUN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(RUN_TYPE) -DTARMEL_TESTS=OFF

configure: setup $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: setup $(RUN_DIR)/build.ninja
	cmake --build $(RUN_DIR) --target tarmel -j $(JOBS)
	./$(RUN_DIR)/tarmel

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: setup
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARMEL_TESTS=OFF -DTARMEL_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS)
	bash bench/run.sh $(BENCH_DIR)

fuzz: setup
	bash scripts/fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

SOAK_FLAGS = -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
soak: setup
	cmake -S . -B $(SOAK_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARMEL_TESTS=OFF -DTARMEL_SOAK=ON \
	  "-DCMAKE_CXX_FLAGS=$(SOAK_FLAGS)" "-DCMAKE_EXE_LINKER_FLAGS=$(SOAK_FLAGS)"
	cmake --build $(SOAK_DIR) --target tarmel_soak -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=16 \
	  ./$(SOAK_DIR)/tests/soak/tarmel_soak $(SOAK_COMMANDS) $(SOAK_SEED)

# The prefix is compiled in: the program knows it runs installed and keeps its files per user.
install: setup
	cmake -S . -B $(RUN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(RUN_TYPE) -DTARMEL_TESTS=OFF -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(RUN_DIR) -j $(JOBS)
	cmake --install $(RUN_DIR) --prefix $(PREFIX)

deb: setup
	cmake -S . -B $(DEB_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARMEL_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build $(DEB_DIR) -j $(JOBS)
	cd $(DEB_DIR) && cpack -G DEB
	@ls $(DEB_DIR)/tarmel_*.deb

clean:
	rm -rf $(BUILD) $(RUN_DIR) $(BENCH_DIR) $(FUZZ_DIR) $(SOAK_DIR) $(DEB_DIR)
