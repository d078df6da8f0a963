# Fails when clang-format would change any C++ file of the project; its output names the
# places.
file(GLOB_RECURSE sources ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/tests/*.cpp
     ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h
     ${SOURCE_DIR}/tools/*.cpp)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE complaints)
if(result)
  message(FATAL_ERROR "${complaints}\nclang-format would change these files: run clang-format -i.")
endif()
