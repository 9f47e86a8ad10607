# kalvion_layer(NAME DIR DEPS...) builds every .cpp of a source folder into one
# static library; new files are picked up without editing the list.
function(kalvion_layer name)
    cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
    foreach(ex IN LISTS ARG_EXCLUDE)
        list(FILTER srcs EXCLUDE REGEX "${ex}")
    endforeach()
    if(srcs)
        add_library(${name} STATIC ${srcs})
        target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}/src")
        target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    else()
        # A layer whose sources have not arrived yet still names its deps.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE "${CMAKE_SOURCE_DIR}/src")
        target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# kalvion_gtest(NAME LABELS ... DEPS ...) builds every .cpp of a test folder into
# one GoogleTest program registered with CTest test by test.
function(kalvion_gtest name)
    # DESKTOP: the tests type and click into the real program on the one X
    # display; two at once would take each other's keys and focus, so they
    # run one at a time (everything else still runs beside them).
    cmake_parse_arguments(ARG "DESKTOP" "TIMEOUT" "LABELS;DEPS;SOURCES;ENV" ${ARGN})
    if(ARG_SOURCES)
        set(srcs ${ARG_SOURCES})
    else()
        file(GLOB srcs CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    add_executable(${name} ${srcs})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE
        KALVION_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
        KALVION_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    add_dependencies(${name} kalvion_data)
    # gtest_discover_tests splits property values at ";", so a second
    # variable travels as an environment modification of its own.
    set(test_env "KALVION_DATA_DIR=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
    set(env_mod "KALVION_TEST=set:1")
    list(LENGTH ARG_ENV env_count)
    if(env_count GREATER 1)
        message(FATAL_ERROR "kalvion_gtest(${name}): at most one ENV variable")
    elseif(env_count EQUAL 1)
        string(REGEX REPLACE "^([^=]+)=" "\\1=set:" env_mod "${ARG_ENV}")
    endif()
    set(lock "")
    if(ARG_DESKTOP)
        set(lock RESOURCE_LOCK x-desktop)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT}
                   ENVIRONMENT "${test_env}" ENVIRONMENT_MODIFICATION "${env_mod}" ${lock})
endfunction()
