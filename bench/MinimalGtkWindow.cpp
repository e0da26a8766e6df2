// The peer of the start-up benchmark: the smallest GTK 3 program with a window, one label in it.
#include <gtk/gtk.h>

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Minimal");
  gtk_container_add(GTK_CONTAINER(window), gtk_label_new("A label"));
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
