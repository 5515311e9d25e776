/* The FreeType modules of the browser build (scripts/web-deps.sh puts this
 * file in place of FreeType's own config/ftmodule.h): the game draws its text
 * with one TrueType face (Misaki Gothic) in one colour, so the TrueType driver
 * with its tables and the two renderers are all it uses. The drivers of the
 * other font formats, the auto-hinter and the PostScript helpers are left out
 * of the page's WebAssembly. */
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_raster1_renderer_class )
FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )
