# The Debian package of the three programs, made by CPack from whatever build this is:
#   scripts/package            (an optimised build; prints the package's path)
#   cpack -G DEB -B <dir>      (in any configured build folder)
# Included once from the top CMakeLists.txt, after every program target exists.

set(MD_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(MD_PROGRAMS masterdata masterdata-sql masterdata-demo)

# Every program reports the version the package carries.
foreach(program ${MD_PROGRAMS})
    target_compile_definitions(${program} PRIVATE MD_VERSION="${PROJECT_VERSION}")
endforeach()

include(GNUInstallDirs)
set(MD_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/masterdata)

install(TARGETS ${MD_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Man pages and the changelog are sources here and go into the package compressed, without a
# time stamp in the gzip header, so the same sources give the same package.
set(md_compressed)
foreach(source man/masterdata.1 man/masterdata-sql.1 man/masterdata-demo.1 changelog)
    get_filename_component(name ${source} NAME)
    set(gz ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
        COMMAND gzip -9 -n -c ${MD_PACKAGING_DIR}/${source} > ${gz}
        DEPENDS ${MD_PACKAGING_DIR}/${source}
        COMMENT "Compressing ${name}"
        VERBATIM)
    list(APPEND md_compressed ${gz})
endforeach()
add_custom_target(md_package_files ALL DEPENDS ${md_compressed})
foreach(page masterdata masterdata-sql masterdata-demo)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

install(FILES ${MD_PACKAGING_DIR}/masterdata-demo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MD_PACKAGING_DIR}/masterdata-demo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/docs/architecture.md
              ${CMAKE_SOURCE_DIR}/docs/sqlserver.md ${MD_PACKAGING_DIR}/copyright
              ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${MD_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME masterdata)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Master-data maintainers <maintainers@users.noreply.c-seed-359393dc.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "master-data maintenance for a Thai business suite")
# The summary is the first line of the package's description; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Maintains import expense codes, import lot numbers with their tax data, foreign
vendors and customers, daily currency exchange rates and each foreign vendor's
part-source price list, against the suite's SQL Server databases over ODBC or
an embedded engine that accepts the same T-SQL.
.
Also contains masterdata-sql, a T-SQL shell, and masterdata-demo, which makes
an embedded demo server and opens a demo session from the desktop menu.]=])
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The libraries the programs link come from dpkg-shlibdeps. What is loaded at run time cannot
# be seen in the binaries: the Qt platform plugins (no window without them), the SQL Server
# ODBC driver and a Thai font; apt installs recommended packages by default.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins, tdsodbc, fonts-thai-tlwg")
include(CPack)
