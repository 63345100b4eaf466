# Builds quorbix.dat: runs mkdata for the source images, adds them with Allegro's dat utility in
# the game's object order, names each object, writes the index header and checks it against the
# committed src/quorbix.h. Run with cmake -P and the variables MKDATA, DAT, FONT_DIR, WORK_DIR,
# OUTPUT, HEADER and EXPECTED_HEADER (see data/CMakeLists.txt); with COMPARE_WITH, it fails
# unless the file it packs is byte for byte that one.

# The objects in file order, each with its dat type, as the committed index header lists them
# ("#define NAME NUMBER /* TYPE */"); mkdata writes each as NAME.pcx.
set(define "^#define[ \t]+([A-Z_0-9]+)[ \t]+[0-9]+[ \t]+/\\* ([A-Z]+) *\\*/")
file(STRINGS ${EXPECTED_HEADER} index REGEX "${define}")
set(objects)
set(types)
foreach(line IN LISTS index)
  string(REGEX REPLACE "${define}.*" "\\1" name "${line}")
  string(REGEX REPLACE "${define}.*" "\\2" type "${line}")
  list(APPEND objects ${name})
  list(APPEND types ${type})
endforeach()

# Runs one command in the work folder and stops the build if it fails.
function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${WORK_DIR}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command} failed (${status}):\n${out}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
run(${MKDATA} ${WORK_DIR} ${FONT_DIR})

# -n0 keeps the objects in the order added, -bpp 8 keeps the images' palette indices,
# -s1 drops the grabber's dates and source paths so that the file is the same on every build.
# dat stores the palette with the padding byte of each entry as its fresh malloc() left it:
# glibc's perturb setting makes every fresh block zero, so the bytes are the same on every build.
set(DAT ${CMAKE_COMMAND} -E env GLIBC_TUNABLES=glibc.malloc.perturb=255 ${DAT})
set(packed ${WORK_DIR}/quorbix.dat)
list(LENGTH objects count)
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  list(GET objects ${i} name)
  list(GET types ${i} type)
  run(${DAT} -n0 -s1 -bpp 8 ${packed} -a -t ${type} ${name}.pcx)
  # dat names an object after its file (NAME.pcx becomes NAME_PCX); give it the game's name.
  run(${DAT} -n0 -s1 ${packed} ${name}_PCX NAME=${name})
endforeach()
run(${DAT} -n0 -s1 ${packed} -h ${HEADER})

# The game compiles against the committed header: its object numbers must be the file's.
file(STRINGS ${HEADER} built REGEX "^#define")
file(STRINGS ${EXPECTED_HEADER} committed REGEX "^#define[ \t]+[A-Z_0-9]+[ \t]+[0-9]")
foreach(list_name built committed)
  set(normal)
  foreach(line IN LISTS ${list_name})
    string(REGEX REPLACE "[ \t]+" " " line "${line}")
    list(APPEND normal "${line}")
  endforeach()
  set(${list_name} "${normal}")
endforeach()
if(NOT built STREQUAL committed)
  message(FATAL_ERROR "src/quorbix.h does not match the objects of quorbix.dat.\n"
                      "Copy the #define lines of ${HEADER} into src/quorbix.h.")
endif()
file(RENAME ${packed} ${OUTPUT})
if(COMPARE_WITH)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${COMPARE_WITH} RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "${OUTPUT} and ${COMPARE_WITH} differ: the data file does not build the same twice")
  endif()
endif()
