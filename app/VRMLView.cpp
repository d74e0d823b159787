// Placeholder until the examiner view is built: an empty pane.
#include "VRMLView.h"

CVRMLView::CVRMLView(CZarnDoc*, CMainFrame*, QWidget* parent) : QWidget(parent) {}
CVRMLView::~CVRMLView() = default;
void CVRMLView::InitialUpdate() {}
void CVRMLView::KeyOperation(int, int, Qt::KeyboardModifiers) {}
void CVRMLView::OnBackground() {}
void CVRMLView::OnExaminerOptions() {}
void CVRMLView::OnSaveGif() {}
